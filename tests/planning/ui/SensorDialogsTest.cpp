// The sensor picker and the sensor-to-local-point assignment.
#include <gtest/gtest.h>

#include "PlanFixture.h"
#include "planning/QMXSensorMap.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgAssignSensors.h"
#include "planning/ui/DlgSelectSensors.h"
#include "platform/base/Format.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/ui/MSFlexGrid.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "support/WidgetShot.h"

#include <QListWidget>

#include <fstream>

namespace {

std::vector<std::string> Sensors(const CPlanFixture& f, const std::string& subsystem)
{
    const CSensorAssignment& a = *f.project.GetSensorAssignment();
    const int row = a.FindRow(subsystem);
    std::vector<std::string> out;
    for (int k = 0; k < a.GetItemCount(row); ++k)
        out.push_back(a.GetItem(row, k));
    return out;
}

std::vector<std::string> Listed(const CDlgSelectSensors& d, bool tickedOnly)
{
    std::vector<std::string> out;
    for (int i = 0; i < d.ListCtrl()->count(); ++i)
        if (!tickedOnly || d.ListCtrl()->item(i)->checkState() == Qt::Checked)
            out.push_back(d.ListCtrl()->item(i)->text().toStdString());
    return out;
}

} // namespace

TEST(SensorPicker, HidesAssignedSensorsAndTicksTheSubsystemsOwn)
{
    CPlanFixture f;
    const std::string a = f.Structure(0), b = f.Structure(1);
    f.Assign(a, {"S1", "S2"});
    f.Assign(b, {"S3"});
    CDlgSelectSensors d(&f.project);
    d.SetSubsystem(a);
    d.EnsureInitialized();
    std::vector<std::string> listed = Listed(d, false);
    EXPECT_EQ(listed.size(), 67u);
    EXPECT_EQ(listed.front(), "S4");
    EXPECT_TRUE(Listed(d, true).empty());
    d.SetHideAssigned(false);
    EXPECT_EQ(Listed(d, false).size(), 70u);
    EXPECT_EQ(Listed(d, true), (std::vector<std::string>{"S1", "S2"}));
    // A cavity takes microphones.
    CDlgSelectSensors cavity(&f.project);
    cavity.SetSubsystem(f.Cavity(0));
    cavity.EnsureInitialized();
    EXPECT_EQ(Listed(cavity, false), (std::vector<std::string>{"M1", "M2", "M3", "M4"}));
    const QStringList faults = GrabAndCheckLayout(d, "orvex_planning_ui", "DlgSelectSensors");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
}

TEST(SensorPicker, UntickingAllAsksOnceAndSixtyOneKeepSixty)
{
    CPlanFixture f;
    const std::string a = f.Structure(0);
    f.Assign(a, {"S1", "S2"});
    {
        CDlgSelectSensors d(&f.project);
        d.SetSubsystem(a);
        d.EnsureInitialized();
        d.SetHideAssigned(false);
        d.SetTicked(0, false);
        d.SetTicked(1, false);
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        EXPECT_EQ(d.PressOK(), IDOK);
        EXPECT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 7124u);
        EXPECT_TRUE(Sensors(f, a).empty());
    }
    CDlgSelectSensors d(&f.project);
    d.SetSubsystem(a);
    d.EnsureInitialized();
    for (int i = 0; i < 61; ++i)
        d.SetTicked(i, true);
    EXPECT_EQ(d.CountText(), "61/60");
    CScriptedPrompts prompts;
    prompts.Answer(IDCANCEL).Answer(IDOK);
    EXPECT_EQ(d.PressOK(), 0);
    EXPECT_EQ(prompts.Last().stringId, 7125u);
    EXPECT_TRUE(Sensors(f, a).empty());
    EXPECT_EQ(d.PressOK(), IDOK);
    const std::vector<std::string> kept = Sensors(f, a);
    ASSERT_EQ(kept.size(), 60u);
    EXPECT_EQ(kept.back(), "S60");
}

TEST(SensorPicker, APlanThatCannotTakeTheListChangesNothing)
{
    CPlanFixture f(16);
    const std::string a = f.Structure(0), b = f.Structure(1);
    f.Assign(a, {"S1", "S2"});
    f.Assign(b, {"S10", "S11", "S12", "S13", "S14", "S15", "S16", "S17", "S18", "S19", "S20", "S21", "S22", "S23"});
    CQMXSensorMapList& plans = *f.project.GetSensorMapList();
    const CSensorAssignment& as = *f.project.GetSensorAssignment();
    // The first plan has room for more sensors of A; the second is full.
    CQMXSensorMap* roomy = plans.AddPlan(0, "Roomy");
    roomy->AssignSubsystem(as, as.FindRow(a));
    CQMXSensorMap* full = plans.AddPlan(0, "Full");
    full->AssignSubsystem(as, as.FindRow(a));
    full->AssignSubsystem(as, as.FindRow(b));
    ASSERT_EQ(full->GetUsedChannelCount(), 16);
    CQMXSensorMap before;
    before.CopyFrom(*roomy);

    CDlgSelectSensors d(&f.project);
    d.SetSubsystem(a);
    d.EnsureInitialized();
    d.SetHideAssigned(false);
    d.SetTicked(2, true); // S3
    CScriptedPrompts prompts;
    prompts.Answer(IDOK).Answer(IDOK);
    EXPECT_EQ(d.PressOK(), 0);
    EXPECT_EQ(prompts.Last().stringId, 7123u);
    EXPECT_EQ(Sensors(f, a), (std::vector<std::string>{"S1", "S2"}));
    for (int i = 0; i < roomy->GetRowCount(); ++i) {
        tagSENSORMAP x, y;
        roomy->GetRow(i, x);
        before.GetRow(i, y);
        EXPECT_EQ(x.sensor, y.sensor) << i;
        EXPECT_EQ(x.subsystem, y.subsystem) << i;
    }
}

TEST(LocalPoints, ShowsSixtyPointsFiltersBySideAndSavesAndLoadsAlike)
{
    CPlanFixture f;
    const CZuSubsystemTable& table = *f.project.GetModelSubsystemTable();
    std::string left, right, neither;
    for (int i = 0; i < table.GetCount(); ++i) {
        const int side = CGfxUtil::GetLeftRight(table.At(i));
        if (side == CGfxUtil::SIDE_LEFT && left.empty())
            left = table.At(i);
        else if (side == CGfxUtil::SIDE_RIGHT && right.empty())
            right = table.At(i);
        else if (side != CGfxUtil::SIDE_LEFT && side != CGfxUtil::SIDE_RIGHT && neither.empty())
            neither = table.At(i);
    }
    ASSERT_FALSE(left.empty() || right.empty() || neither.empty());
    std::vector<std::string> many;
    for (int i = 1; i <= 65; ++i)
        many.push_back(Format("L%d", i));
    f.Assign(neither, many);
    f.Assign(left, {"S1", "S2"});

    CDlgAssignSensors d(&f.project);
    d.EnsureInitialized();
    auto rowOf = [&d](const std::string& name) {
        const auto& shown = d.ShownSubsystems();
        const auto it = std::find(shown.begin(), shown.end(), name);
        return it == shown.end() ? -1 : static_cast<int>(it - shown.begin()) + 1;
    };
    ASSERT_GT(rowOf(neither), 0);
    EXPECT_EQ(d.Grid()->GetCols(), 61);
    EXPECT_EQ(d.Grid()->GetTextMatrix(0, 60), "LP #60");
    EXPECT_EQ(d.Grid()->GetTextMatrix(rowOf(neither), 60), "L60");
    EXPECT_GT(rowOf(left), 0);
    EXPECT_EQ(rowOf(right), -1);
    EXPECT_EQ(d.Grid()->GetTextMatrix(rowOf(left), 2), "S2");
    d.SetSideFilter(1);
    EXPECT_EQ(rowOf(left), -1);
    EXPECT_GT(rowOf(right), 0);
    EXPECT_GT(rowOf(neither), 0);
    const QStringList faults = GrabAndCheckLayout(d, "orvex_planning_ui", "DlgAssignSensors");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();

    const CSensorAssignment saved = *f.project.GetSensorAssignment();
    const std::string path = (f.dir / "LocalPoints.txt").string();
    CScriptedPrompts prompts;
    prompts.ChooseFile(path).Answer(IDOK);
    d.OnSave();
    EXPECT_EQ(prompts.Last().stringId, 6168u);
    EXPECT_EQ(prompts.Records()[0].file.initialName, "LocalPoints.txt");
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first.rfind("#@", 0), 0u);
    f.Assign(left, {});
    f.Assign(neither, {"Z"});
    prompts.ChooseFile(path).Answer(IDOK);
    d.OnLoad();
    EXPECT_EQ(prompts.Last().stringId, 6168u);
    EXPECT_TRUE(*f.project.GetSensorAssignment() == saved);

    // The clipboard carries the same rows.
    prompts.Answer(IDOK).Answer(IDOK);
    d.OnCopy();
    f.Assign(left, {"X"});
    d.OnPaste();
    EXPECT_TRUE(*f.project.GetSensorAssignment() == saved);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST(LocalPoints, ChangeOpensThePickerForTheSelectedRow)
{
    CPlanFixture f;
    CDlgAssignSensors d(&f.project);
    d.EnsureInitialized();
    CScriptedDialogs dialogs;
    std::string asked;
    dialogs.Then([&asked](CZuDialog& dialog) {
        auto& picker = static_cast<CDlgSelectSensors&>(dialog);
        asked = picker.GetSubsystem();
        picker.SetTicked(0, true);
        return picker.PressOK();
    });
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    d.OnChange(); // no row selected: nothing
    EXPECT_EQ(dialogs.Pending(), 1u);
    d.Grid()->SetCurrentCell(2, 1);
    d.OnChange();
    EXPECT_EQ(asked, d.ShownSubsystems()[1]);
    EXPECT_EQ(d.Grid()->GetTextMatrix(2, 1), Sensors(f, asked).front());
}
