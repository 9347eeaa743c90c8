// The progress dialog as long work drives it through its feedback object.
#include "platform/ui/DlgFeedback.h"
#include "platform/ui/DlgProgress.h"
#include "platform/win/PromptService.h"
#include "support/WidgetShot.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(DlgFeedback, ShowsTitleBarsAndMessageAndPassesCancelOn)
{
    {
        CDlgFeedback feedback;
        CDlgProgress* dlg = CDlgProgress::GetInstance();
        ASSERT_NE(dlg, nullptr);
        feedback.Begin("Importing Universal Files", 4);
        feedback.Step();
        feedback.SetText("Scanning in [engine.unv]...");
        feedback.BeginPart(1);
        feedback.Begin("", 100);
        feedback.SetPos(40);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Importing Universal Files"));
        EXPECT_EQ(dlg->MessageLabel()->text(), QStringLiteral("Scanning in [engine.unv]..."));
        EXPECT_EQ(dlg->OuterBar()->maximum(), 4);
        EXPECT_EQ(dlg->OuterBar()->value(), 1);
        EXPECT_EQ(dlg->SubBar()->maximum(), 100);
        EXPECT_EQ(dlg->SubBar()->value(), 40);

        const QStringList faults = GrabAndCheckLayout(*dlg, QStringLiteral("feedback"), QStringLiteral("DlgFeedback"));
        EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();

        feedback.EndPart();
        EXPECT_EQ(dlg->OuterBar()->value(), 2);
        EXPECT_FALSE(feedback.IsCancelled());
        dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        EXPECT_TRUE(feedback.IsCancelled());
        EXPECT_TRUE(feedback.IsCancelled()) << "the work may ask again on its way out";

        // Reports are the message boxes of before, shown by the window.
        CScriptedPrompts prompts;
        feedback.Warning("There is not enough memory to import these universal files.");
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().style, MB_OK | MB_ICONEXCLAMATION);

        // Closed by the user midway: the work goes on without a dialog.
        CDlgProgress::DestroyInstance();
        feedback.Step();
        feedback.SetText("gone");
        EXPECT_TRUE(feedback.IsCancelled());
    }
    EXPECT_EQ(CDlgProgress::GetInstance(), nullptr);
}
