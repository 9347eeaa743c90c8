#pragma once
// The second channel-plan editor: a scratch plan that the editor hands channels to and takes them
// back from, so channels can be rearranged between plans. It closes only when it holds no channel
// any more, so no channel handed to it is lost. One exists at a time.
#include "planning/ui/DlgDAQPPExpPlan.h"
#include "platform/ui/SingleInstance.h"

class CDlgDAQPPExpPlanEdit : public CDlgDAQPPExpPlan, public CSingleInstance<CDlgDAQPPExpPlanEdit>
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4208;

    // Its own window, apart from the first editor's.
    using CSingleInstance<CDlgDAQPPExpPlanEdit>::GetInstance;
    using CSingleInstance<CDlgDAQPPExpPlanEdit>::DestroyInstance;
    using CSingleInstance<CDlgDAQPPExpPlanEdit>::Instances;
    using CSingleInstance<CDlgDAQPPExpPlanEdit>::ProgramKey;
    static CDlgDAQPPExpPlanEdit* ShowInstance(CExtUFDaqProject* project, QWidget* parent = nullptr);

    explicit CDlgDAQPPExpPlanEdit(CExtUFDaqProject* project, QWidget* parent = nullptr);
    ~CDlgDAQPPExpPlanEdit() override;

    // 3278: hands the selected channels back to the editor.
    void OnHandOver() override;
    // False, with a message, while the scratch plan holds a channel.
    bool CanClose() override;

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
};

// The editor for the project in the mode with the plan (none: a new plan); an editor already open
// is only brought forward.
CDlgDAQPPExpPlan* OpenDAQPPPlanEditor(CExtUFDaqProject* project, int mode, CDAQPPExpPlan* plan,
                                      QWidget* parent = nullptr);
