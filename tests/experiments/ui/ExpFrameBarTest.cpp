// The measurement window's bars: the command bar at the window's default size in the main window
// and tiled narrower (every command and the RPM list in sight, none behind an extension button),
// the display modes and the developer menu.
#include <gtest/gtest.h>

#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"
#include "platform/ui/ZuControlBar.h"
#include "support/WidgetShot.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <filesystem>
#include <fstream>

TEST(ExpFrame, BarShowsEveryCommandAndTheRpmList)
{
    QMdiArea area;
    area.resize(820, 640); // the main window's client area at its first size
    area.show();
    QApplication::processEvents();
    CExpFrame* frame = CExpFrame::Open(&area, std::filesystem::temp_directory_path().string());
    ASSERT_NE(frame, nullptr);
    auto* bar = frame->findChild<CZuControlBar*>("ToolBar104");
    ASSERT_NE(bar, nullptr);
    const int commands[] = {
        CExpTreeView::ID_SETUP_CHANNELS,       CExpTreeView::ID_START_RUN,   CExpTreeView::ID_GAIN_SETTING,
        CExpTreeView::ID_PROPERTIES,           CExpTreeView::ID_DELETE,      CExpTreeView::ID_DATA_CHECK,
        CExpTreeView::ID_EXP_ANALYSIS_OPTIONS, CExpTreeView::ID_DAQ_OPTIONS, CExpTreeView::ID_ACCEL_RPM};
    QMdiSubWindow* sub = area.subWindowList().value(0);
    ASSERT_NE(sub, nullptr);
    for (int width : {sub->width(), 380}) {
        SCOPED_TRACE(width);
        sub->resize(width, sub->height());
        QApplication::processEvents();
        std::vector<QWidget*> controls{frame->RpmCombo()};
        for (QToolButton* b : bar->findChildren<QToolButton*>())
            controls.push_back(b);
        EXPECT_EQ(controls.size(), std::size(commands) + 1);
        for (int id : commands) {
            QAction* action = frame->Action(id);
            ASSERT_NE(action, nullptr) << id;
            bool shown = false;
            for (QToolButton* b : bar->findChildren<QToolButton*>())
                shown = shown || b->defaultAction() == action;
            EXPECT_TRUE(shown) << id;
        }
        for (QWidget* w : controls) {
            const QRect at(w->mapTo(frame, QPoint(0, 0)), w->size());
            EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
            EXPECT_TRUE(QRect(bar->mapTo(frame, QPoint(0, 0)), bar->size()).contains(at))
                << w->objectName().toStdString() << " at " << at.x() << "," << at.y() << " " << at.width() << "x"
                << at.height() << " bar " << bar->width() << "x" << bar->height();
            EXPECT_TRUE(frame->rect().contains(at)) << w->objectName().toStdString();
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
        }
        EXPECT_TRUE(bar->ShowsEveryControl());
        area.grab().save(QDir(ShotFolder("ExpWindow")).filePath(QStringLiteral("ExpFrame-in-main-%1.png").arg(width)));
    }
    sub->close();
}

// The display modes stand on the right-hand bar in their three groups, one of each group checked,
// and a mode pressed moves its group's check; the developer menu offers the tree's three
// developer commands in their order.
TEST(ExpFrame, ModeBarAndDeveloperMenuShowTheirCommandsInOrder)
{
    QTemporaryDir dir;
    std::ofstream(dir.filePath(CExpFrame::kHiddenMenuFlag).toStdString()) << "";
    CExpFrame frame(new CExpDoc, dir.path().toStdString());
    auto* modes = frame.findChild<QToolBar*>("ToolBar105");
    ASSERT_NE(modes, nullptr);
    auto shown = [modes] {
        QStringList texts;
        for (QAction* a : modes->actions())
            texts << (a->isSeparator() ? QStringLiteral("|") : a->text() + (a->isChecked() ? "*" : ""));
        return texts.join(',');
    };
    EXPECT_EQ(shown(), "Time Domain*,Frequency Domain,|,Pulse*,RPM of Intervals,RPM of All Intervals,|,"
                       "Max Voltage*,Max Value,Integral");
    EXPECT_TRUE(frame.OnCommand(CExpFrame::ID_DIAG_INTEGRAL));
    EXPECT_EQ(frame.GetDiagMode(), 3);
    EXPECT_EQ(shown(), "Time Domain*,Frequency Domain,|,Pulse*,RPM of Intervals,RPM of All Intervals,|,"
                       "Max Voltage,Max Value,Integral*");
    EXPECT_FALSE(frame.OnCommand(CExpFrame::ID_CHANNEL_FREQ)) << "no channel of an excitation selected";
    EXPECT_EQ(frame.GetChannelPlotMode(), 1);

    ASSERT_NE(frame.DeveloperMenu(), nullptr);
    QStringList entries;
    for (QAction* a : frame.DeveloperMenu()->actions())
        if (!a->isSeparator())
            entries << a->text();
    EXPECT_EQ(entries.join(','), "&Real Time Monitor,&Dump Data ...,&Dump Data (with Parameter)...");
}
