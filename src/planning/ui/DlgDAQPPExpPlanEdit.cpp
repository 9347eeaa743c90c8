#include "planning/ui/DlgDAQPPExpPlanEdit.h"

#include "planning/DAQPPExpPlan.h"
#include "platform/ui/EmbeddedGridWnd.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

#include <QPushButton>
#include <QStyle>

namespace {

QPointer<CDlgDAQPPExpPlanEdit>& Shared()
{
    static QPointer<CDlgDAQPPExpPlanEdit> editor;
    return editor;
}
} // namespace

CDlgDAQPPExpPlanEdit* CDlgDAQPPExpPlanEdit::ShowInstance(CExtUFDaqProject* project, QWidget* parent)
{
    if (CDlgDAQPPExpPlanEdit* open = Shared().data()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    auto* editor = new CDlgDAQPPExpPlanEdit(project, parent);
    Shared() = editor;
    editor->Create();
    return editor;
}

CDlgDAQPPExpPlanEdit* CDlgDAQPPExpPlanEdit::GetInstance()
{
    return Shared().data();
}

void CDlgDAQPPExpPlanEdit::DestroyInstance()
{
    if (CDlgDAQPPExpPlanEdit* editor = Shared().data()) {
        Shared() = nullptr;
        editor->DestroyWindow();
    }
}

CDlgDAQPPExpPlanEdit::CDlgDAQPPExpPlanEdit(CExtUFDaqProject* project, QWidget* parent)
    : CDlgDAQPPExpPlan(project, parent, kTemplateId)
{
    setObjectName(QStringLiteral("DlgDAQPPExpPlanEdit"));
    setWindowTitle(QStringLiteral("Channel Plan (Work Area)"));
}

CDlgDAQPPExpPlanEdit::~CDlgDAQPPExpPlanEdit()
{
    if (Shared().data() == this)
        Shared() = nullptr;
}

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
