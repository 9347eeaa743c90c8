#include "planning/ui/DlgDAQPPExpPlanEdit.h"

#include "planning/DAQPPExpPlan.h"
#include "platform/ui/EmbeddedGridWnd.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

#include <QPushButton>
#include <QStyle>

CDlgDAQPPExpPlanEdit* CDlgDAQPPExpPlanEdit::ShowInstance(CExtUFDaqProject* project, QWidget* parent)
{
    return Instances().ShowFor(ProgramKey(), [&] {
        auto* editor = new CDlgDAQPPExpPlanEdit(project, parent);
        editor->Create();
        return editor;
    });
}

CDlgDAQPPExpPlanEdit::CDlgDAQPPExpPlanEdit(CExtUFDaqProject* project, QWidget* parent)
    : CDlgDAQPPExpPlan(project, parent, kTemplateId)
{
    setObjectName(QStringLiteral("DlgDAQPPExpPlanEdit"));
    setWindowTitle(QStringLiteral("Channel Plan (Work Area)"));
}

CDlgDAQPPExpPlanEdit::~CDlgDAQPPExpPlanEdit() = default;

bool CDlgDAQPPExpPlanEdit::OnInitDialog()
{
    const bool result = CDlgDAQPPExpPlan::OnInitDialog();
    if (QPushButton* b = Button(3278)) {
        b->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
        b->setToolTip(QStringLiteral("Hand the selected channels back to the plan"));
        // Handing back needs only the editor this one serves.
        b->setEnabled(true);
    }
    // Closing asks nothing: the scratch plan is never stored, it only has to be empty.
    if (QPushButton* close = Button(3008)) {
        disconnect(close, &QPushButton::clicked, nullptr, nullptr);
        connect(close, &QPushButton::clicked, this, &CDlgDAQPPExpPlanEdit::OnCancel);
    }
    return result;
}

void CDlgDAQPPExpPlanEdit::OnHandOver()
{
    CDlgDAQPPExpPlan* editor = CDlgDAQPPExpPlan::GetInstance();
    if (!editor || editor == this || GetSelectedChannels().empty())
        return;
    HandSelectedRowsTo(*editor);
}

bool CDlgDAQPPExpPlanEdit::CanClose()
{
    const CDAQPPExpPlan& plan = GetWorkingPlan();
    for (int c = 0; c < plan.GetChannelCount(); ++c) {
        if (!plan.IsRowEmpty(c)) {
            AfxMessageBox(IDS_PLAN_HOLDS_CHANNELS, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    return true;
}

void CDlgDAQPPExpPlanEdit::OnCancel()
{
    // Closing (the close box, Escape, the close button) never drops channels handed here.
    if (CanClose())
        DestroyWindow();
}

CDlgDAQPPExpPlan* OpenDAQPPPlanEditor(CExtUFDaqProject* project, int mode, CDAQPPExpPlan* plan, QWidget* parent)
{
    return CDlgDAQPPExpPlan::Open(project, mode, plan, parent);
}
