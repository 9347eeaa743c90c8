#include "views/ui/SwAxisTableDoc.h"

#include "app/TALVOProject.h"
#include "models/HSEAOptions.h"
#include "views/ui/OptionSheets.h"

CSwAxisTableDoc::CSwAxisTableDoc(CTALVOProject* project) : m_project(project) {}

CSwAxisTableDoc::~CSwAxisTableDoc()
{
    // The core is no element of the project: no window is recorded in it.
    SetData(nullptr);
}

void CSwAxisTableDoc::SetRpmSelFunc(CZuRpmSelFunc* function)
{
    m_function = function;
    m_core.SetRpmSelFunc(function, CSwAxisTableCore::VIEW_BY_FIRST);
    SetData(function ? &m_core : nullptr);
}

void CSwAxisTableDoc::SetHSEAOptions(CHSEAOptions* options)
{
    m_options = options;
    m_core.SetHSEAOptions(options);
}

void CSwAxisTableDoc::SetViewType(int viewType)
{
    m_core.SetViewType(viewType);
    SetCurrentSubset(m_core.GetCurSel1stIndex());
}

void CSwAxisTableDoc::SetCurSel1stIndex(int i)
{
    m_core.SetCurSel1stIndex(i);
    SetCurrentSubset(m_core.GetCurSel1stIndex());
}

CSwAxisTableCore& CSwAxisTableDoc::Core()
{
    m_core.SetCurSel1stIndex(GetCurrentSubset());
    return m_core;
}

void CSwAxisTableDoc::OnOptions()
{
    if (m_project)
        RunOptionsSheet(*m_project);
    UpdateAllViews(nullptr, -1);
}

void CSwAxisTableDoc::FunctionGoing()
{
    m_function = nullptr;
    m_core.SetRpmSelFunc(nullptr);
    DataGoing();
}
