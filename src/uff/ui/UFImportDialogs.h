#pragma once
// The universal-file import's questions answered with the program's dialogs: the acquisition
// source, the import dialog, the data check and the progress dialog.
#include <memory>

#include "uff/UFImportUI.h"

class CDlgFeedback;

class QWidget;

class CUFImportDialogs : public IUFImportUI
{
public:
    explicit CUFImportDialogs(QWidget* parent = nullptr);
    ~CUFImportDialogs() override;
    CUFImportDialogs(const CUFImportDialogs&) = delete;
    CUFImportDialogs& operator=(const CUFImportDialogs&) = delete;

    int SelectDAQSystem() override;
    bool RunImportDialog(CUFImportSettings& settings) override;
    bool RunDataCheck(CUFDataCheckInput& input) override;
    CFeedback* ShowProgress() override;
    void CloseProgress() override;

private:
    QWidget* m_parent;
    std::unique_ptr<CDlgFeedback> m_progress;
};

// Installs the dialogs as the import's UI for the rest of the program's run.
void InstallUFImportDialogs();
