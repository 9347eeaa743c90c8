// The calculation-progress dialog as the band solve drives it.
#include "app/ui/DlgCalcProgress.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DlgCalcProgress, ShowsBandsAsTheSolveFeedbackAndCancels)
{
    CDlgCalcProgress* dlg = CDlgCalcProgress::ShowInstance();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(CDlgCalcProgress::ShowInstance(), dlg);
    CFeedback& progress = *dlg;

    progress.Begin(std::string(), 1);
    EXPECT_EQ(dlg->BandBar()->minimum(), 0);
    EXPECT_EQ(dlg->BandBar()->maximum(), 0);
    progress.Begin(std::string(), 24);
    EXPECT_EQ(dlg->BandBar()->maximum(), 23);
    EXPECT_EQ(dlg->BandBar()->value(), 0);
    progress.SetText("31.5 Hz");
    progress.SetPos(3);
    EXPECT_EQ(dlg->FrequencyLabel()->text(), QStringLiteral("31.5 Hz"));
    EXPECT_EQ(dlg->BandBar()->value(), 3);
    progress.SetText("20000 Hz");
    progress.SetPos(24); // the solve done: the bar stays at the last band
    EXPECT_EQ(dlg->FrequencyLabel()->text(), QStringLiteral("20000 Hz"));
    EXPECT_EQ(dlg->BandBar()->value(), 23);

    // Cancel pressed is read at the next question and stays for the rest of the solve; the
    // dialog stays.
    EXPECT_FALSE(progress.IsCancelled());
    QPushButton* cancel = dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    cancel->click();
    progress.SetPos(4);
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_TRUE(dlg->isVisible());

    // As the user sees it during a solve.
    progress.SetText("1000 Hz");
    progress.SetPos(12);
    QApplication::processEvents();
    QTemporaryDir temp;
    const QString dir =
        qEnvironmentVariableIsSet("ORVEX_GRAB_DIR") ? qEnvironmentVariable("ORVEX_GRAB_DIR") : temp.path();
    EXPECT_TRUE(dlg->grab().save(QDir(dir).filePath("DlgCalcProgress.png")));
    EXPECT_FALSE(dlg->SubBar()->isVisible());
    for (QWidget* child : dlg->findChildren<QWidget*>()) {
        if (child->isVisible()) {
            EXPECT_FALSE(child->size().isEmpty()) << child->objectName().toStdString();
        }
    }
    EXPECT_GE(dlg->FrequencyLabel()->width(), dlg->FrequencyLabel()->fontMetrics().horizontalAdvance("20000 Hz"));

    CDlgCalcProgress::DestroyInstance();
    EXPECT_EQ(CDlgCalcProgress::GetInstance(), nullptr);
    CDlgCalcProgress::DestroyInstance(); // nothing when there is none
}
