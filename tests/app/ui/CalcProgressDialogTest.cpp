// The calculation-progress dialog as the band solve drives it.
#include "app/ui/DlgCalcProgress.h"
#include "platform/win/CalcBandProgress.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DlgCalcProgress, RegisteredWhileOpenShowsBandsAndLatchesCancel)
{
    EXPECT_EQ(GetCalcProgressDlg(), nullptr);
    CDlgCalcProgress* dlg = CDlgCalcProgress::ShowInstance();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(CDlgCalcProgress::ShowInstance(), dlg);
    EXPECT_EQ(GetCalcProgressDlg(), static_cast<ICalcBandProgress*>(dlg));
    ICalcBandProgress& progress = *GetCalcProgressDlg();

    progress.SetBandCount(1);
    EXPECT_EQ(dlg->BandBar()->minimum(), 0);
    EXPECT_EQ(dlg->BandBar()->maximum(), 0);
    progress.SetBandCount(24);
    EXPECT_EQ(dlg->BandBar()->maximum(), 23);
    EXPECT_EQ(dlg->BandBar()->value(), 0);
    progress.ShowBand(3, 31.5);
    EXPECT_EQ(dlg->FrequencyLabel()->text(), QStringLiteral("31.5 Hz"));
    EXPECT_EQ(dlg->BandBar()->value(), 3);
    progress.ShowBand(23, 20000.0);
    EXPECT_EQ(dlg->FrequencyLabel()->text(), QStringLiteral("20000 Hz"));

    // Cancel pressed twice is one cancel; showing a band does not consume it; the dialog stays.
    QPushButton* cancel = dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    cancel->click();
    progress.ShowBand(4, 40.0);
    EXPECT_EQ(progress.CheckCancel(), 1);
    EXPECT_EQ(progress.CheckCancel(), 0);
    EXPECT_TRUE(dlg->isVisible());

    // As the user sees it during a solve.
    progress.ShowBand(12, 1000.0);
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
    EXPECT_EQ(GetCalcProgressDlg(), nullptr);
    CDlgCalcProgress::DestroyInstance(); // nothing when there is none
}
