#include "planning/ui/DlgWizDAQPPMenu.h"

#include "app/TALVOProject.h"
#include "planning/ui/DlgWizExpPlan.h"
#include "planning/ui/DlgWizGlobalNode.h"
#include "planning/ui/DlgWizSensorAssign.h"
#include "planning/ui/DlgWizSensorConfig.h"
#include "platform/ui/ColorButton.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/win/StatusBarFallback.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/MkExtDaqProject.h"

#include <QGridLayout>
#include <QLabel>

CDlgWizDAQPPMenu* CDlgWizDAQPPMenu::ShowInstance()
{
    if (CDlgWizDAQPPMenu* menu = GetInstance())
        return menu;
    auto* menu = new CDlgWizDAQPPMenu;
    Instances().Register(ProgramKey(), menu);
    return menu;
}

void CDlgWizDAQPPMenu::DestroyInstance()
{
    // Gone at once, not on the next loop turn.
    delete Instances().Release(ProgramKey());
}

void CDlgWizDAQPPMenu::LeaveInstances()
{
    if (GetInstance() == this)
        Instances().Release(ProgramKey());
}

CDlgWizDAQPPMenu::CDlgWizDAQPPMenu() : CZuDlgWizard(nullptr, kTemplateId)
{
    setObjectName(QStringLiteral("DlgWizDAQPPMenu"));
    setWindowTitle(QStringLiteral("Planning Wizard"));
    SetFirstStepId(kFirstStep);
    auto* grid = new QGridLayout(this);
    const char* texts[kStepCount] = {"1. Sensor configuration", "2. Sensor assignment",    "3. Global nodes",
                                     "4. Channel plans",        "5. Import measured data", "Close"};
    const char* notes[4] = {"Sensors and their sensitivities", "Sensors on the local points of each subsystem",
                            "Node numbers of the universal files", "Channels of the external DAQ system"};
    for (int i = 0; i < kStepCount; ++i) {
        const int id = kFirstStep + i;
        CColorButton* b = AddStepButton(id, QString::fromLatin1(texts[i]), kAvailableColor);
        b->setMinimumWidth(200);
        connect(b, &QPushButton::clicked, this, [this, id] { OnStep(id); });
        grid->addWidget(b, i, 0);
        if (i < 4) {
            m_anchors[i] = new QLabel(QString::fromLatin1(notes[i]), this);
            m_anchors[i]->setObjectName(QStringLiteral("Static%1").arg(2071 + i));
            grid->addWidget(m_anchors[i], i, 1);
        }
    }
    grid->setColumnStretch(1, 1);
    resize(480, sizeHint().height());
    // The project goes (removed, or its document closed): the steps would work on nothing.
    m_listener = AddObjectGoingListener([this](const void* object) {
        if (!m_project || object != static_cast<const CMElement*>(m_project))
            return;
        m_project = nullptr;
        LeaveInstances();
        hide();
        deleteLater();
    });
}

CDlgWizDAQPPMenu::~CDlgWizDAQPPMenu()
{
    RemoveObjectGoingListener(m_listener);
    LeaveInstances();
}

QWidget* CDlgWizDAQPPMenu::Anchor(int id) const
{
    const int i = id - kFirstStep;
    return i >= 0 && i < 4 ? m_anchors[i] : nullptr;
}

void CDlgWizDAQPPMenu::OnStep(int id)
{
    CTALVOProject* container = m_project ? m_project->GetOwner() : nullptr;
    auto run = [this, id](CZuDlgWizard& step) {
        step.SetAnchor(Anchor(id), 2, 0);
        step.DoModal();
    };
    switch (id) {
    case 2001: {
        CDlgWizSensorConfig step(this);
        run(step);
        break;
    }
    case 2002: {
        CDlgWizSensorAssign step(container, this);
        run(step);
        break;
    }
    case 2003: {
        CDlgWizGlobalNode step(m_project, this);
        run(step);
        break;
    }
    case 2004: {
        CDlgWizExpPlan step(m_project, this);
        run(step);
        break;
    }
    case 2005:
        if (container && m_project) {
            CMkExtDaqProject builder(*container, m_project);
            builder.ImportUFData(&*CStatusBarFallback(nullptr));
        }
        break;
    case 2006:
        // Deleting the menu from its own button waits until the click has been handled.
        LeaveInstances();
        DestroyWindow();
        break;
    default:
        break;
    }
}

CDlgWizDAQPPMenu* OpenPlanningWizard(CBaseProject* selected)
{
    auto* project = dynamic_cast<CExtUFDaqProject*>(selected);
    if (!project)
        return nullptr;
    CDlgWizDAQPPMenu* menu = CDlgWizDAQPPMenu::ShowInstance();
    menu->SetProject(project);
    if (!menu->IsModeless()) {
        menu->Create();
    } else {
        menu->showNormal();
        menu->raise();
    }
    return menu;
}
