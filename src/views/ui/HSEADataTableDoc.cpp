#include "views/ui/HSEADataTableDoc.h"

#include "app/TALVOProject.h"
#include "models/HSEAOptions.h"
#include "views/ui/OptionSheets.h"

CHSEADataTableDoc::CHSEADataTableDoc(CTALVOProject* project) : m_project(project) {}

CHSEADataTableDoc::~CHSEADataTableDoc() = default;

void CHSEADataTableDoc::SetElement(CZuTableData* element)
{
    m_core.SetElement(element);
    CZuTableDataDoc::SetData(m_core.GetTableData());
}

void CHSEADataTableDoc::SetData(CZuTableData* data)
{
    SetTableData(data);
}

void CHSEADataTableDoc::SetTableData(CZuTableData* table)
{
    const int band = GetCurrentSubset();
    m_core.SetTableData(table);
    CZuTableDataDoc::SetData(table);
    if (table && band < table->GetTableFreqCount())
        SetCurrentSubset(band);
}

void CHSEADataTableDoc::SetHSEAOptions(CHSEAOptions* options)
{
    m_options = options;
    m_core.SetHSEAOptions(options);
}

CHSEADataTableCore& CHSEADataTableDoc::Core()
{
    // The table may have gone (DataGoing): the core forgets it too.
    if (m_core.GetTableData() != GetData())
        m_core.SetTableData(GetData());
    m_core.SetFrequencyIndex(GetCurrentSubset());
    return m_core;
}

void CHSEADataTableDoc::OnOptions()
{
    if (m_project)
        RunOptionsSheet(*m_project);
    UpdateAllViews(nullptr, -1);
}

void CHSEADataTableDoc::ElementGoing()
{
    m_core.ForgetElement();
}
