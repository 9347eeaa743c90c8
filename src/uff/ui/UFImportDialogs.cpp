#include "uff/ui/UFImportDialogs.h"

#include <QString>

#include "platform/ui/DlgFeedback.h"
#include "platform/win/WinTypes.h"
#include "uff/ui/DlgImportUFDaqData.h"
#include "uff/ui/DlgSelectDAQSystem.h"
#include "uff/ui/DlgUFDataCheck.h"
#include "uff/UFNodeMap.h"

CUFImportDialogs::CUFImportDialogs(QWidget* parent) : m_parent(parent) {}

CUFImportDialogs::~CUFImportDialogs()
{
    if (GetUFImportUI() == this)
        SetUFImportUI(nullptr);
}

int CUFImportDialogs::SelectDAQSystem()
{
    CDlgSelectDAQSystem dialog(m_parent);
    return dialog.DoModal() == IDOK ? dialog.GetChoice() : -1;
}

bool CUFImportDialogs::RunImportDialog(CUFImportSettings& settings)
{
    CUFImportSettings edited = settings;
    std::vector<std::string> files = settings.files ? *settings.files : std::vector<std::string>();
    edited.files = &files;
    CUFNodeMap nodes = settings.nodeMap ? *settings.nodeMap : CUFNodeMap();
    edited.nodeMap = settings.nodeMap ? &nodes : nullptr;
    CDlgImportUFDaqData dialog(edited, m_parent);
    if (dialog.DoModal() != IDOK)
        return false;
    // Taken over only on OK: Cancel leaves the project's list and node map as they were.
    if (settings.files)
        *settings.files = files;
    if (settings.nodeMap)
        *settings.nodeMap = nodes;
    edited.files = settings.files;
    edited.nodeMap = settings.nodeMap;
    settings = edited;
    return true;
}

bool CUFImportDialogs::RunDataCheck(CUFDataCheckInput& input)
{
    CDlgUFDataCheck dialog(input, m_parent);
    return dialog.DoModal() == IDOK;
}

CFeedback* CUFImportDialogs::ShowProgress()
{
    if (!m_progress)
        m_progress = std::make_unique<CDlgFeedback>(m_parent);
    return m_progress.get();
}

void CUFImportDialogs::CloseProgress()
{
    m_progress.reset();
}

void InstallUFImportDialogs()
{
    static CUFImportDialogs dialogs;
    SetUFImportUI(&dialogs);
}
