// The mapping of the model's subsystems to the database's common names: rows, cut and switch, OK
// and the table as text.
#include "experiments/ui/DlgExpDatabaseMapping.h"

#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"

#include <QDir>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
CZuSubsystemTable Model()
{
    CZuSubsystemTable t;
    t.Add("Roof");
    t.Add("Floor");
    t.Add("Dash");
    return t;
}

// Roof is mapped to common name 1, Floor to 0, Dash to none.
struct Fixture
{
    CZuSubsystemTable model = Model();
    CDlgExpDatabaseMapping dlg{model, {"FLOOR-PANEL", "ROOF-PANEL"}, {1, 0, -1}};
    Fixture() { dlg.EnsureInitialized(); }
    QString Cell(int row, int col) const { return dlg.Grid()->item(row, col)->text(); }
    void Cut(int row)
    {
        dlg.Grid()->setCurrentCell(row, 2);
        dlg.OnCut();
    }
    void Switch(int row)
    {
        dlg.Grid()->setCurrentCell(row, 2);
        dlg.OnSwitch();
    }
    std::vector<int32_t> Ok()
    {
        dlg.PressOK();
        return dlg.GetMapping();
    }
};

class FailingClipboard : public IClipboard
{
public:
    bool SetText(const std::string&) override { return false; }
    bool GetText(std::string&) override { return false; }
};
} // namespace

TEST(DlgExpDatabaseMapping, OneRowPerCommonNameThenTheUnmappedSubsystems)
{
    Fixture f;
    ASSERT_EQ(f.dlg.Grid()->rowCount(), 3);
    EXPECT_EQ(f.Cell(0, 1), QStringLiteral("FLOOR-PANEL"));
    EXPECT_EQ(f.Cell(0, 2), QStringLiteral("Floor"));
    EXPECT_EQ(f.Cell(1, 2), QStringLiteral("Roof"));
    EXPECT_EQ(f.Cell(2, 0), QStringLiteral("3"));
    EXPECT_EQ(f.Cell(2, 1), QString());
    EXPECT_EQ(f.Cell(2, 2), QStringLiteral("Dash"));
    EXPECT_FALSE(f.dlg.Grid()->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(f.dlg.CutButton()->toolTip(), QStringLiteral("Cur Subsystem (CTRL+X)"));
    EXPECT_EQ(f.dlg.SwitchButton()->toolTip(), QStringLiteral("Switch Subsystems (CTRL+V)"));

    CZuSubsystemTable model = Model();
    CDlgExpDatabaseMapping empty(model, {}, {0, -1, 5});
    empty.EnsureInitialized();
    EXPECT_EQ(empty.Grid()->rowCount(), 3) << "no common names: one row per subsystem";
    EXPECT_EQ(empty.Grid()->item(0, 2)->text(), QStringLiteral("Roof"));

    const QString png = QDir(QString::fromStdString(testing::TempDir())).filePath(QStringLiteral("mapping.png"));
    f.dlg.resize(520, 360);
    ASSERT_TRUE(f.dlg.grab().save(png));
    for (QWidget* w : {static_cast<QWidget*>(f.dlg.Grid()), static_cast<QWidget*>(f.dlg.CutButton()),
                       static_cast<QWidget*>(f.dlg.CopyButton())})
        EXPECT_FALSE(w->size().isEmpty());
}

TEST(DlgExpDatabaseMapping, CutAndSwitchExchangeTwoRowsSubsystems)
{
    struct Case
    {
        const char* what;
        int cut; // -1: no cut
        int to;  // the row switched on
        std::vector<int32_t> mapping;
    };
    const Case cases[] = {
        {"exchange two mapped rows", 0, 1, {0, 1, -1}},
        {"onto the appended row: unmapped, the other takes the name", 1, 2, {-1, 0, 1}},
        {"cut and switch on the same row", 1, 1, {1, 0, -1}},
        {"switch without a cut", -1, 0, {1, 0, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        if (c.cut >= 0) {
            f.Cut(c.cut);
            EXPECT_TRUE(f.dlg.HasPendingCut());
            EXPECT_EQ(f.Cell(c.cut, 2), QString()) << "a cut cell shows empty";
        }
        f.Switch(c.to);
        EXPECT_FALSE(f.dlg.HasPendingCut());
        EXPECT_EQ(f.Ok(), c.mapping);
    }
    // A cut of a cell that is not a subsystem cell is no cut.
    Fixture f;
    f.dlg.Grid()->setCurrentCell(0, 1);
    f.dlg.OnCut();
    EXPECT_FALSE(f.dlg.HasPendingCut());
}

TEST(DlgExpDatabaseMapping, CopiesTheTableAsTextOrSaysTheClipboardFailed)
{
    ASSERT_TRUE(LoadLanguageStrings(9));
    Fixture f;
    f.dlg.CopyButton()->click();
    std::string text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text,
              "No.\tCommon Name\tSubsystem Name\t\n1\tFLOOR-PANEL\tFloor\t\n2\tROOF-PANEL\tRoof\t\n3\t\tDash\t\n");

    FailingClipboard failing;
    SetClipboard(&failing);
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    f.dlg.OnCopyAsText();
    SetClipboard(nullptr);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6019u);
}
