// The experiment data comparisons and the view-data picker, driven as a user would.
#include "GrabCheck.h"

#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOExp.h"
#include "experiments/ExpInfo.h"
#include "models/HSEARegOptions.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/win/Clipboard.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "acquisition/ui/DlgExpDataComp.h"
#include "acquisition/ui/DlgCalender.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "acquisition/ui/DlgSelectViewData.h"
#include "platform/win/Messages.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {
const double kFreqs[] = {100.0, 200.0, 400.0};
const double kRpms[] = {1000.0, 2000.0};
const int64_t kDay1 = QDateTime(QDate(2024, 5, 6), QTime(10, 0)).toSecsSinceEpoch();
const int64_t kDay2 = QDateTime(QDate(2024, 5, 7), QTime(11, 30)).toSecsSinceEpoch();

// Levels in dB of a structure (reference 1): the value 10^(L/20); a level of NAN gives value 0.
double V(double level)
{
    return std::isnan(level) ? 0.0 : std::pow(10.0, level / 20.0);
}

struct Campaign
{
    CDaqProject daq{"DAQ1"};
    CTALVOExp* roof = nullptr;
    CTALVOExp* floor = nullptr;

    CTALVOExp* AddExp(const std::string& name, const std::string& second, const std::string& description)
    {
        auto exp = std::make_unique<CTALVOExp>(name, &daq, 72);
        exp->SetSecondSubsystem(second);
        exp->SetDescription(description);
        return daq.AddChild(std::move(exp));
    }

    // A data set whose map of the subsystem has, at 1000 RPM, the given levels per band (2000 RPM:
    // 30 dB everywhere).
    CDAQExperiment* AddSet(CTALVOExp* exp, int serial, int64_t time, const std::string& subsystem,
                           std::vector<double> levels, int use = 1, const double* rpms = kRpms)
    {
        auto set = std::make_unique<CDAQExperiment>(std::to_string(serial), exp, 84);
        CExpInfo info;
        info.SetName(0, "Engine");
        info.SetName(1, subsystem);
        info.SetTime(time);
        set->SetExpInfo(info);
        set->SetSerial(serial);
        set->SetUseFlag(use);
        auto map = CZuRpmFunc::NewRpmFunc(subsystem, 66, set.get(), subsystem, kFreqs, 3, rpms, 2);
        for (int f = 0; f < 3; ++f) {
            map->DataValue(0, f) = V(levels[static_cast<size_t>(f)]);
            map->DataValue(1, f) = V(30.0);
        }
        set->AddChild(std::move(map));
        return exp->AddChild(std::move(set));
    }

    CMElementList Experiments() const
    {
        CMElementList list;
        list.Add(roof);
        list.Add(floor);
        return list;
    }
};

class RecordingClipboard : public IClipboard
{
public:
    bool SetText(const std::string& t) override
    {
        text = t;
        return works;
    }
    bool GetText(std::string& t) override
    {
        t = text;
        return true;
    }
    std::string text;
    bool works = true;
};
} // namespace

TEST(DlgExpDataComp, ShowsLevelsAndColoursTheDifferenceOfTwoDataSets)
{
    EXPECT_FALSE(CDlgExpDataComp::DiffColor(0.49).isValid());
    EXPECT_EQ(CDlgExpDataComp::DiffColor(0.5), QColor(Qt::yellow));
    EXPECT_EQ(CDlgExpDataComp::DiffColor(1.0), QColor(Qt::yellow));
    EXPECT_EQ(CDlgExpDataComp::DiffColor(1.01), QColor(Qt::red));

    Campaign c;
    c.roof = c.AddExp("Roof/Engine", "Roof", "Idle");
    c.floor = c.AddExp("Floor/Engine", "Floor", "Drive");
    CDAQExperiment* a = c.AddSet(c.roof, 1, kDay1, "Roof", {20.0, 20.0, 20.0});
    CDAQExperiment* b = c.AddSet(c.roof, 2, kDay2, "Roof", {22.0, 20.8, NAN});
    c.AddSet(c.roof, 3, kDay2 + 60, "Roof", {20.0, 20.0, 20.0}, 0); // not used
    c.AddSet(c.floor, 1, kDay1, "Floor", {10.0, 10.0, 10.0});       // same time as a: not in group 0
    c.AddSet(c.floor, 2, kDay2 + 120, "Floor", {10.0, 10.0, 10.0});

    CRecordingMessageTarget owner;
    CDlgExpDataComp* dialog = CDlgExpDataComp::CreateInstance(&c, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CDlgExpDataComp::CreateInstance(&c, nullptr), nullptr) << "one per key";
    EXPECT_EQ(CDlgExpDataComp::GetInstance(&c), dialog);
    dialog->SetOwnerID(&c.daq);
    dialog->SetDataList(c.Experiments());
    dialog->SetOwnerWindow(&owner);
    ASSERT_TRUE(dialog->Create());

    // Group 0 (named after the first used data set's subsystem): one used data set per time;
    // then one group per experiment.
    ASSERT_EQ(dialog->Groups().size(), 3u);
    EXPECT_EQ(dialog->Groups()[0].name, "Roof");
    EXPECT_EQ(dialog->Groups()[0].data.GetSize(), 3); // roof 1, roof 2, floor 2
    EXPECT_EQ(dialog->Groups()[1].data.GetSize(), 2);
    // In group 0 only the roof data sets have a roof map: two series, labelled by description.
    ASSERT_EQ(dialog->CurrentSeries().size(), 2u);
    EXPECT_EQ(dialog->LevelGrid()->horizontalHeaderItem(1)->text(), "Idle-#01");

    dialog->SelectGroup(1);
    EXPECT_EQ(dialog->ValueCombo()->count(), 2);
    EXPECT_EQ(dialog->ValueCombo()->currentText(), "1000");
    QTableWidget* levels = dialog->LevelGrid();
    ASSERT_EQ(levels->rowCount(), 3);
    ASSERT_EQ(levels->columnCount(), 3);
    EXPECT_EQ(levels->horizontalHeaderItem(0)->text(), "Freq. [Hz]");
    EXPECT_EQ(levels->horizontalHeaderItem(1)->text(), "SN#01-05/06/2024");
    EXPECT_EQ(levels->item(0, 1)->text(), "20.00");
    EXPECT_EQ(levels->item(0, 2)->text(), "22.00");
    EXPECT_EQ(levels->item(2, 2)->text(), "---"); // a value of 0
    EXPECT_EQ(dialog->Graph()->graphCount(), 2);
    EXPECT_EQ(dialog->Graph()->graph(1)->data()->at(2)->value, 0.0); // drawn at 0
    EXPECT_EQ(dialog->Graph()->yAxis->label(), "Velocity Level [dB]");
    // Differences 2.0 (red), 0.8 (yellow), 20 against no value (red).
    QTableWidget* diff = dialog->DiffGrid();
    ASSERT_EQ(diff->rowCount(), 3);
    EXPECT_EQ(diff->item(0, 1)->text(), "2.0");
    EXPECT_EQ(diff->item(0, 1)->background().color(), QColor(Qt::red));
    EXPECT_EQ(diff->item(1, 1)->text(), "0.8");
    EXPECT_EQ(diff->item(1, 1)->background().color(), QColor(Qt::yellow));
    EXPECT_EQ(diff->item(2, 1)->text(), "20.0");
    EXPECT_NE(dialog->DiffTitle()->text().indexOf("SN#02"), -1);

    // Over RPM at the second band.
    dialog->SetAxisMode(1);
    dialog->SelectValue(1);
    EXPECT_EQ(dialog->ValueCombo()->currentText(), "200");
    EXPECT_EQ(levels->horizontalHeaderItem(0)->text(), "RPM");
    EXPECT_EQ(levels->item(1, 1)->text(), "30.00");
    EXPECT_NEAR(dialog->Level(1, 0), 20.8, 1e-9);
    dialog->SetAxisMode(0);

    // Clicking a data column tells the owner window.
    dialog->OnDataColumnClicked(2);
    EXPECT_EQ(dialog->HighlightedSeries(), 1);
    ASSERT_EQ(owner.Records().size(), 1u);
    EXPECT_EQ(owner.Records()[0].msg, WM_ZU_DATA_COLUMN_CLICKED);
    EXPECT_EQ(owner.Records()[0].lParam, reinterpret_cast<intptr_t>(b));
    // "Data...": the columns by their headers in the subsystem picker; the one chosen is selected
    // as a click selects it.
    QPushButton* pick = dialog->PickColumnButton();
    ASSERT_TRUE(pick->isEnabled());
    {
        CScriptedDialogs dialogs;
        QStringList offered;
        dialogs.Then([&](CZuDialog& d) {
            auto& picker = dynamic_cast<CDlgSelectSubsystem&>(d);
            for (int i = 0; i < picker.Combo()->count(); ++i)
                offered << picker.Combo()->itemText(i);
            picker.Combo()->setCurrentIndex(0);
            return d.PressOK();
        });
        pick->click();
        EXPECT_EQ(offered,
                  QStringList({levels->horizontalHeaderItem(1)->text(), levels->horizontalHeaderItem(2)->text()}));
    }
    EXPECT_EQ(dialog->HighlightedSeries(), 0);
    ASSERT_EQ(owner.Records().size(), 2u);
    EXPECT_EQ(owner.Records()[1].lParam, reinterpret_cast<intptr_t>(a));

    // Ctrl+C text; a clipboard that cannot be written gives message 6019.
    RecordingClipboard clipboard;
    SetClipboard(&clipboard);
    ASSERT_TRUE(dialog->CopyGrid(*diff));
    EXPECT_EQ(clipboard.text.substr(0, 41), "Subsystem:\tRoof\r\nRPM:\t1000\r\nFreq. [Hz]\tDi");
    EXPECT_NE(clipboard.text.find("100\t2.0\r\n200\t0.8\r\n"), std::string::npos);
    clipboard.works = false;
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        EXPECT_FALSE(dialog->CopyGrid(*levels));
        EXPECT_EQ(prompts.Last().stringId, 6019u);
    }
    SetClipboard(nullptr);
    GrabAndCheck(*dialog, "DlgExpDataComp", QSize(760, 620));

    // Three data sets: no difference grid.
    c.AddSet(c.roof, 4, kDay2 + 600, "Roof", {20.0, 20.0, 20.0});
    CMElementList three;
    for (int i = 0; i < c.roof->GetChildCount(); ++i)
        three.Add(c.roof->GetChild(i));
    dialog->OnPickerTicked(three);
    EXPECT_EQ(dialog->CurrentSeries().size(), 4u);
    EXPECT_EQ(dialog->DiffGrid()->rowCount(), 0);
    EXPECT_EQ(dialog->LevelGrid()->columnCount(), 5);

    EXPECT_EQ(CDlgExpDataComp::DestroyInstance(&c), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CDlgExpDataComp::GetInstance(&c), nullptr);
    EXPECT_EQ(CDlgExpDataComp::DestroyInstance(&c), 0);
    (void)a;
}

TEST(DlgExpDataComp, RefusesAGroupWhoseAxesDiffer)
{
    Campaign c;
    c.roof = c.AddExp("Roof/Engine", "Roof", "Idle");
    c.floor = c.AddExp("Floor/Engine", "Floor", "Drive");
    const double other[] = {1000.0, 2500.0};
    c.AddSet(c.roof, 1, kDay1, "Roof", {20.0, 20.0, 20.0});
    c.AddSet(c.roof, 2, kDay2, "Roof", {20.0, 20.0, 20.0}, 1, other);
    CScriptedPrompts prompts;
    prompts.Answer(IDOK).Answer(IDOK);
    CDlgExpDataComp dialog;
    dialog.SetOwnerID(&c.daq);
    dialog.SetDataList(c.Experiments());
    dialog.EnsureInitialized();
    ASSERT_GE(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6134u);
    EXPECT_TRUE(dialog.CurrentSeries().empty());
    EXPECT_EQ(dialog.LevelGrid()->rowCount(), 0);
    EXPECT_EQ(dialog.ValueCombo()->count(), 0);
    // Over frequency the axes agree.
    dialog.SetAxisMode(1);
    EXPECT_EQ(dialog.CurrentSeries().size(), 2u);
}

TEST(DlgExpLPDataComp, ComparesOneLocalPointAndWarnsOfDifferentCounts)
{
    Campaign c;
    c.roof = c.AddExp("Roof/Engine", "Roof", "Idle");
    c.floor = c.AddExp("Floor/Engine", "Floor", "Drive");
    // Local-point functions: data set 1 with two points, data set 2 with three.
    auto addLP = [&](int serial, int64_t time, int points, double base) {
        CDAQExperiment* set = c.AddSet(c.roof, serial, time, "Roof", {20.0, 20.0, 20.0});
        auto func = std::make_unique<CZuRpmMultiVecFunc>("Roof LP", set, 66);
        func->SetLabel("Roof");
        CZuSubsystemTable columns;
        for (int p = 0; p < points; ++p)
            columns.Add("LP#" + std::to_string(p + 1));
        for (double rpm : kRpms) {
            auto vec = std::make_unique<CZuVecFunc>("", &columns, 3, nullptr, 66);
            vec->SetDataIndexArray({100.0, 200.0, 400.0});
            for (int p = 0; p < points; ++p)
                for (int i = 0; i < 3; ++i)
                    vec->DataValue(i, p) = V(base + p);
            func->AddRpmData(rpm, std::move(vec));
        }
        set->AddChild(std::move(func));
    };
    addLP(1, kDay1, 2, 40.0);
    addLP(2, kDay2, 3, 50.0);
    CScriptedPrompts prompts;
    prompts.responder = [](const PromptRecord&) { return PromptAnswer{}; };
    CDlgExpLPDataComp dialog;
    dialog.SetOwnerID(&c.daq);
    dialog.SetDataList(c.Experiments());
    dialog.EnsureInitialized();
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6135u);
    ASSERT_EQ(dialog.LocalPointCombo()->count(), 2);
    EXPECT_EQ(dialog.LocalPointCombo()->itemText(1), "LP#2");
    EXPECT_NEAR(dialog.Level(0, 0), 40.0, 1e-9);
    EXPECT_NEAR(dialog.Level(1, 0), 50.0, 1e-9);
    dialog.SelectLocalPoint(1);
    EXPECT_NEAR(dialog.Level(0, 0), 41.0, 1e-9);
    EXPECT_NEAR(dialog.Level(1, 2), 51.0, 1e-9);
    GrabAndCheck(dialog, "DlgExpLPDataComp", QSize(760, 620));
    // Every value is shown whole in its column, not cut to "51."; a header gives its whole text.
    for (QTableWidget* grid : {dialog.LevelGrid(), dialog.findChild<QTableWidget*>("diff")}) {
        ASSERT_NE(grid, nullptr);
        const QFontMetrics metrics(grid->font());
        for (int col = 0; col < grid->columnCount(); ++col) {
            const int width = grid->columnWidth(col);
            EXPECT_EQ(grid->horizontalHeaderItem(col)->toolTip(), grid->horizontalHeaderItem(col)->text());
            for (int row = 0; row < grid->rowCount(); ++row)
                EXPECT_GT(width, metrics.horizontalAdvance(grid->item(row, col)->text()))
                    << grid->objectName().toStdString() << " " << row << "," << col;
        }
    }
}

TEST(DlgSelectViewData, TicksByRuleAndWritesUseFlagsBack)
{
    Campaign c;
    c.roof = c.AddExp("Roof/Engine", "Roof", "Idle");
    c.floor = c.AddExp("Floor/Engine", "Floor", "Drive");
    CDAQExperiment* r1 = c.AddSet(c.roof, 1, kDay1, "Roof", {20.0, 20.0, 20.0});
    CDAQExperiment* r2 = c.AddSet(c.roof, 2, kDay2, "Roof", {20.0, 20.0, 20.0}, 0);
    CDAQExperiment* f1 = c.AddSet(c.floor, 1, kDay1, "Floor", {10.0, 10.0, 10.0}, 0);
    // A data set without functions is not offered.
    c.floor->AddChild(std::make_unique<CDAQExperiment>("empty", c.floor, 84));

    CDlgSelectViewData picker;
    picker.SetRoots(c.Experiments());
    CMElementList ticked;
    ticked.Add(r1);
    picker.SetTickedList(ticked);
    std::vector<int> notified;
    picker.onTickedChanged = [&](const CMElementList& list) { notified.push_back(list.GetSize()); };
    picker.EnsureInitialized();
    QTreeWidget* tree = picker.Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->childCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->checkState(0), Qt::Unchecked); // one child unticked

    picker.TickUsed(); // r1 only is used; ticks stay
    EXPECT_EQ(picker.GetTickedList().GetSize(), 1);
    picker.SetElementTick(r2, true, true);
    EXPECT_EQ(tree->topLevelItem(0)->checkState(0), Qt::Checked); // all children ticked
    picker.TickAll(false);
    EXPECT_EQ(picker.GetTickedList().GetSize(), 0);
    {
        // The date button: the calendar opens on today; the chosen day ticks r1 and f1.
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& calendar) {
            auto* month = dynamic_cast<CDlgCalender&>(calendar).Calendar();
            EXPECT_EQ(month->selectedDate(), QDate::currentDate());
            month->setSelectedDate(QDate(2024, 5, 6));
            return calendar.PressOK();
        });
        picker.Button(CDlgSelectViewData::IDC_TICK_DATE)->click();
        ASSERT_EQ(dialogs.Records().size(), 1u);
        EXPECT_EQ(dialogs.Records()[0].templateId, CDlgCalender::IDD);
    }
    EXPECT_EQ(picker.GetTickedList().GetSize(), 2); // r1 and f1
    EXPECT_TRUE(tree->topLevelItem(1)->isExpanded());
    // Unticking a root unticks its children and tells the comparison dialog.
    notified.clear();
    tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    ASSERT_FALSE(notified.empty());
    EXPECT_EQ(notified.back(), 3);

    // Write back: r1 and f1 share a time; the first met (r1, ticked) decides both. No answer Yes:
    // nothing written.
    picker.FindItem(r1)->setCheckState(0, Qt::Checked);
    picker.FindItem(f1)->setCheckState(0, Qt::Unchecked);
    picker.FindItem(r2)->setCheckState(0, Qt::Unchecked);
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDNO);
        picker.WriteBack();
        EXPECT_EQ(prompts.Last().stringId, 6034u);
        EXPECT_EQ(f1->GetUseFlag(), 0);
    }
    CScriptedPrompts prompts;
    prompts.Answer(IDYES);
    picker.WriteBack();
    EXPECT_EQ(r1->GetUseFlag(), 1);
    EXPECT_EQ(f1->GetUseFlag(), 1);
    EXPECT_EQ(r2->GetUseFlag(), 0);
    EXPECT_FALSE(picker.Button(CDlgSelectViewData::IDC_PROPERTIES)->isEnabled());
    GrabAndCheck(picker, "DlgSelectViewData", QSize(300, 420));

    // Properties: enabled on a data set where the property dialog is installed, opened for it.
    std::vector<CMElement*> shown;
    CDlgSelectViewData::SetPropertiesOpener([&](CMElement* set, QWidget*) { shown.push_back(set); });
    tree->setCurrentItem(picker.FindItem(r2));
    QToolButton* properties = picker.Button(CDlgSelectViewData::IDC_PROPERTIES);
    ASSERT_TRUE(properties->isEnabled());
    properties->click();
    EXPECT_EQ(shown, std::vector<CMElement*>{r2});
    tree->setCurrentItem(tree->topLevelItem(1));
    EXPECT_FALSE(properties->isEnabled()) << "an experiment has no data-set properties";
    CDlgSelectViewData::SetPropertiesOpener({});
}

TEST(DlgSelectViewData, OpensBesideTheComparisonWhenTheOptionIsOn)
{
    Campaign c;
    c.roof = c.AddExp("Roof/Engine", "Roof", "Idle");
    c.floor = c.AddExp("Floor/Engine", "Floor", "Drive");
    c.AddSet(c.roof, 1, kDay1, "Roof", {20.0, 20.0, 20.0});
    CDAQExperiment* r2 = c.AddSet(c.roof, 2, kDay2, "Roof", {21.0, 21.0, 21.0});
    CDlgExpDataComp off;
    off.SetOwnerID(&c.daq);
    off.SetDataList(c.Experiments());
    off.EnsureInitialized();
    EXPECT_FALSE(off.PickerButton()->isEnabled());

    CHSEARegOptions::WriteDWORD(LoadString(IDS_OPT_DATA_PICKER).c_str(), 1);
    CDlgExpDataComp dialog;
    dialog.SetOwnerID(&c.daq);
    dialog.SetDataList(c.Experiments());
    dialog.EnsureInitialized();
    EXPECT_TRUE(dialog.PickerButton()->isEnabled());
    dialog.SelectGroup(1);
    dialog.OpenPicker();
    CDlgSelectViewData* picker = CDlgSelectViewData::GetInstance(&dialog);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->GetTickedList().GetSize(), 2);
    // Unticking one data set leaves one series; a column click selects it in the picker.
    picker->FindItem(r2)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(dialog.CurrentSeries().size(), 1u);
    picker->FindItem(r2)->setCheckState(0, Qt::Checked);
    dialog.OnDataColumnClicked(2);
    EXPECT_EQ(picker->Tree()->currentItem(), picker->FindItem(r2));
    CHSEARegOptions::WriteDWORD(LoadString(IDS_OPT_DATA_PICKER).c_str(), 0);
}
