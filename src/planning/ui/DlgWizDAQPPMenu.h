#pragma once
// The planning wizard's menu for a universal-file DAQ project: sensors, sensor assignment, global
// nodes, channel plans, then the import of the measured data. One menu exists at a time.
#include "planning/ui/ZuDlgWizard.h"
#include "platform/ui/SingleInstance.h"

class CBaseProject;
class CExtUFDaqProject;
class QLabel;

class CDlgWizDAQPPMenu : public CZuDlgWizard, public CSingleInstance<CDlgWizDAQPPMenu>
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4201;
    static constexpr int kFirstStep = 2001;
    static constexpr int kStepCount = 6;

    // The registered menu, made when there is none.
    static CDlgWizDAQPPMenu* ShowInstance();
    static void DestroyInstance();

    CDlgWizDAQPPMenu();
    ~CDlgWizDAQPPMenu() override;

    void SetProject(CExtUFDaqProject* project) { m_project = project; }
    CExtUFDaqProject* GetProject() const { return m_project; }

    // 2001 to 2004 the step dialogs, 2005 the import, 2006 closes the menu.
    void OnStep(int id);
    // The control beside step button id (2001 to 2004) that its dialog opens under.
    QWidget* Anchor(int id) const;

private:
    // The menu going by itself leaves the registry at once.
    void LeaveInstances();
    CExtUFDaqProject* m_project = nullptr;
    QLabel* m_anchors[4] = {};
    int m_listener = 0;
};

// The main window's planning-wizard command: the menu for the selected project when it is a
// universal-file DAQ project (shown and brought forward); null, and nothing opened, otherwise.
CDlgWizDAQPPMenu* OpenPlanningWizard(CBaseProject* selected);
