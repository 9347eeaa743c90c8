#pragma once
// Wizard step: the node numbers of the local points, from a node table file or edited.
#include "planning/ui/ZuDlgWizard.h"

class CExtUFDaqProject;

class CDlgWizGlobalNode : public CZuDlgWizard
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4204;

    explicit CDlgWizGlobalNode(CExtUFDaqProject* project, QWidget* parent = nullptr);

    // 2001: a node table file first, the node dialog when it was read; 2002: the dialog.
    void OnStep(int id);
    // The node dialog on the project's node map; its result.
    static int RunNodeDialog(CExtUFDaqProject& project, QWidget* parent);

private:
    CExtUFDaqProject* m_project;
};
