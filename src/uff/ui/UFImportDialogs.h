#pragma once
// The universal-file import's questions answered with the program's dialogs: the acquisition
// source, the import dialog, the data check and the progress dialog.
#include "uff/UFImportUI.h"

class QWidget;

class CUFImportDialogs : public IUFImportUI
{
public:
    explicit CUFImportDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    ~CUFImportDialogs() override;

    int SelectDAQSystem() override;
    bool RunImportDialog(CUFImportSettings& settings) override;
    bool RunDataCheck(CUFDataCheckInput& input) override;
    IUFImportProgress* ShowProgress() override;
    void CloseProgress() override;

private:
    QWidget* m_parent;
    IUFImportProgress* m_progress = nullptr;
};

// Installs the dialogs as the import's UI for the rest of the program's run.
void InstallUFImportDialogs();
