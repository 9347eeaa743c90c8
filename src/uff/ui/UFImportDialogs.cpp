#include "uff/ui/UFImportDialogs.h"

#include <QString>

#include "app/ui/DlgProgress.h"
#include "platform/win/WinTypes.h"
#include "uff/ui/DlgImportUFDaqData.h"
#include "uff/ui/DlgSelectDAQSystem.h"
#include "uff/ui/DlgUFDataCheck.h"

namespace {
// The progress dialog as the import sees it; it asks the dialog afresh each time, since the
// dialog may have been closed meanwhile.
class CDlgProgressAdapter : public IUFImportProgress
{
public:
    void SetTitle(const std::string& t) override
    {
        if (auto* d = CDlgProgress::GetInstance())
            d->SetTitle(QString::fromStdString(t));
    }
    void SetMessage(const std::string& t) override
    {
        if (auto* d = CDlgProgress::GetInstance())
            d->SetMessage(QString::fromStdString(t));
    }
    void SetOuterRange(int count) override
    {
        if (auto* d = CDlgProgress::GetInstance())
            d->SetOuterRange(count, 0);
    }
    void StepTotal() override
    {
        if (auto* d = CDlgProgress::GetInstance())
            d->StepTotal();
    }
    void SetSubRange(int count) override
    {
        if (auto* d = CDlgProgress::GetInstance())
            d->SetSubRange(count, 0);
    }
    void SetSubPos(int position) override
    {
        if (auto* d = CDlgProgress::GetInstance())
            d->SetSubPos(position);
    }
    void StepSub() override
    {
        if (auto* d = CDlgProgress::GetInstance())
            d->StepSub();
    }
    bool PumpMessages() override
    {
        auto* d = CDlgProgress::GetInstance();
        return d && d->PumpMessages();
    }
};

CDlgProgressAdapter g_adapter;
} // namespace

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
    CDlgImportUFDaqData dialog(edited, m_parent);
    if (dialog.DoModal() != IDOK)
        return false;
    // Taken over only on OK: Cancel leaves the project's list as it was.
    if (settings.files)
        *settings.files = files;
    edited.files = settings.files;
    settings = edited;
    return true;
}

bool CUFImportDialogs::RunDataCheck(CUFDataCheckInput& input)
{
    CDlgUFDataCheck dialog(input, m_parent);
    return dialog.DoModal() == IDOK;
}

IUFImportProgress* CUFImportDialogs::ShowProgress()
{
    CDlgProgress::ShowInstance(m_parent);
    return &g_adapter;
}

void CUFImportDialogs::CloseProgress()
{
    CDlgProgress::DestroyInstance();
}

void InstallUFImportDialogs()
{
    static CUFImportDialogs dialogs;
    SetUFImportUI(&dialogs);
}
