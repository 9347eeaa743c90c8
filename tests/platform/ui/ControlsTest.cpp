// The reusable controls: in-cell editing of the flex grid, its keys, the tree's hit regions and
// walk, the multi-file chooser, the coloured controls and the data tip.
#include "platform/ui/CmbEx.h"
#include "platform/ui/ColorButton.h"
#include "platform/ui/ColorStaticST.h"
#include "platform/ui/CustomTreeCtrl.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/ui/EmbeddedGridWnd.h"
#include "platform/ui/FlexGridEx.h"
#include "platform/ui/FlexGridModel.h"
#include "platform/ui/MultiFileDialog.h"
#include "platform/ui/SXButton.h"
#include "platform/ui/ZuDataTipCtrl.h"
#include "platform/win/PromptService.h"
#include "support/WidgetShot.h"
#include "platform/win/Messages.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct Sent
{
    quint32 msg;
    quintptr w;
    std::string text; // 0x8102: the text, "<null>" for lParam 0
};

// A 4 x 3 grid (one fixed row, one fixed column) with a recorder; 0x8101 fills the combo.
struct GridFixture
{
    CFlexGridEx grid;
    std::vector<Sent> sent;

    GridFixture()
    {
        grid.SetCols(3);
        grid.SetRows(4);
        grid.SetFixedRows(1);
        grid.SetFixedCols(1);
        grid.SetEditFlags(CFlexGridEx::kEditable | CFlexGridEx::kAppendRow);
        grid.resize(400, 300);
        QObject::connect(&grid, &CFlexGridEx::Notify, [this](quint32 msg, quintptr w, qintptr l) {
            Sent s{msg, w, {}};
            if (msg == WM_FLEX_BEGIN_EDIT) {
                auto* combo = reinterpret_cast<CCmbEx*>(l);
                combo->addItems({"Roof", "Floor", "Dash"});
            }
            if (msg == WM_FLEX_END_EDIT)
                s.text = l ? reinterpret_cast<const char*>(l) : "<null>";
            sent.push_back(s);
        });
    }
};
} // namespace

TEST(FlexGridEx, CommitInLastRowAppendsOneRowAndEscapeSendsNothing)
{
    GridFixture f;
    ASSERT_TRUE(f.grid.StartEdit(3, 1));
    EXPECT_TRUE(f.grid.Combo()->isVisibleTo(&f.grid));
    EXPECT_EQ(f.grid.Combo()->count(), 3);
    f.grid.Combo()->setCurrentIndex(1);
    f.grid.OnComboKey(CCmbEx::kKeyReturn);
    EXPECT_EQ(f.grid.GetTextMatrix(3, 1), "Floor");
    EXPECT_EQ(f.grid.GetRows(), 5); // exactly one row more
    ASSERT_EQ(f.sent.size(), 3u);
    EXPECT_EQ(f.sent[0].msg, WM_FLEX_BEGIN_EDIT);
    EXPECT_EQ(f.sent[0].w, CFlexGridEx::CellParam(3, 1));
    EXPECT_EQ(f.sent[1].msg, WM_FLEX_END_EDIT);
    EXPECT_EQ(f.sent[1].text, "Floor");
    // The text changed: the cell-changed notice follows.
    EXPECT_EQ(f.sent[2].msg, WM_GRID_CELL_CHANGED);
    EXPECT_FALSE(f.grid.Combo()->isVisibleTo(&f.grid));
    EXPECT_EQ(f.grid.Combo()->count(), 0);

    // An empty text in the new last row adds no row.
    ASSERT_TRUE(f.grid.StartEdit(4, 2));
    f.grid.Combo()->setCurrentIndex(-1);
    f.grid.OnComboKey(0); // the combo lost the focus: commits
    EXPECT_EQ(f.grid.GetRows(), 5);
    EXPECT_EQ(f.sent.back().msg, WM_FLEX_END_EDIT); // an empty cell stayed empty: no change notice
    EXPECT_EQ(f.sent.back().text, "");

    // Escape keeps the cell and sends no 0x8102.
    f.sent.clear();
    ASSERT_TRUE(f.grid.StartEdit(3, 1));
    EXPECT_EQ(f.grid.Combo()->currentText(), "Floor"); // the cell's own text is preselected
    f.grid.Combo()->setCurrentIndex(0);
    f.grid.OnComboKey(CCmbEx::kKeyEscape);
    EXPECT_EQ(f.grid.GetTextMatrix(3, 1), "Floor");
    ASSERT_EQ(f.sent.size(), 1u);
    EXPECT_EQ(f.sent[0].msg, WM_FLEX_BEGIN_EDIT);
}

TEST(FlexGridModel, CheckCellsStylesAndMergesFollowTheGrid)
{
    CMSFlexGrid grid;
    grid.SetRows(9);
    grid.SetCols(3);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    CFlexGridModel& model = *grid.GridModel();
    int changed = 0;
    QObject::connect(&model, &CFlexGridModel::CellCheckChanged, [&changed](int row, int col) {
        EXPECT_EQ(row, 1);
        EXPECT_EQ(col, 1);
        ++changed;
    });
    model.SetText(1, 1, "Cable 1");
    model.SetCellCheck(1, 1, 0);
    const QModelIndex cell = model.IndexOf(1, 1);
    EXPECT_TRUE(model.flags(cell) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.IndexOf(2, 1)) & Qt::ItemIsUserCheckable);
    // A tick in the view reaches the cell.
    EXPECT_TRUE(model.setData(cell, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(model.CellCheck(1, 1), 1);
    EXPECT_EQ(changed, 1);
    EXPECT_FALSE(model.setData(model.IndexOf(2, 1), Qt::Checked, Qt::CheckStateRole));

    model.SetCellBackColor(0, 2, QColor(204, 255, 204));
    model.SetCellForeColor(2, 2, Qt::red);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(), QColor(204, 255, 204));
    EXPECT_EQ(model.data(model.IndexOf(2, 2), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    // Merges stay inside the body; shrinking the grid drops the styles of cells that went.
    grid.SetMergedCells(1, 1, 8, 1);
    EXPECT_EQ(grid.rowSpan(0, 0), 8);
    grid.SetMergedCells(5, 2, 20, 1);
    EXPECT_EQ(grid.rowSpan(4, 1), 4);
    grid.SetRows(2);
    EXPECT_EQ(model.CellForeColor(2, 2), QColor());
    EXPECT_EQ(model.CellCheck(1, 1), 1);
    model.ClearStyles();
    EXPECT_EQ(model.CellCheck(1, 1), -1);
}

TEST(FlexGridEx, EditsStartOnlyInTheBodyAndWhereAllowed)
{
    GridFixture f;
    EXPECT_FALSE(f.grid.StartEdit(0, 1)); // fixed row
    EXPECT_FALSE(f.grid.StartEdit(1, 0)); // fixed column
    f.grid.SetBeforeEditCallback([](uintptr_t cell) { return (cell >> 16) == 2 ? 0 : 1; });
    EXPECT_FALSE(f.grid.StartEdit(1, 2));
    EXPECT_TRUE(f.grid.StartEdit(1, 1));
    f.grid.OnComboKey(CCmbEx::kKeyEscape);
    f.grid.SetEditFlags(0);
    EXPECT_FALSE(f.grid.StartEdit(1, 1));
    EXPECT_TRUE(f.sent.size() == 1u); // only the one edit that started
}

TEST(FlexGridEx, DoubleClickAndKeysOfTheCombo)
{
    GridFixture f;
    f.grid.show();
    QApplication::processEvents();
    const QRect cell = f.grid.visualRect(f.grid.GridModel()->IndexOf(1, 1));
    QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(f.grid.IsEditing());
    f.grid.Combo()->setCurrentIndex(2);
    QTest::keyRelease(f.grid.Combo(), Qt::Key_Return);
    EXPECT_FALSE(f.grid.IsEditing());
    EXPECT_EQ(f.grid.GetTextMatrix(1, 1), "Dash");
    const QStringList faults = GrabAndCheckLayout(f.grid, "orvex_platform_ui", "FlexGridEx");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
}

TEST(FlexGridEx, CtrlArrowsStopAtTheEdgesOfFilledBlocks)
{
    // One body column (grid column 1) below a fixed row: x x x . . x x .
    CFlexGridEx grid;
    grid.SetCols(2);
    grid.SetRows(9);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    const char* column = "xxx..xx.";
    for (int r = 0; r < 8; ++r)
        grid.SetTextMatrix(r + 1, 1, column[r] == 'x' ? "v" : "");
    struct Case
    {
        int from, dr, to;
    };
    const Case cases[] = {
        {1, 1, 3}, // inside a block: to its last filled cell
        {3, 1, 6}, // at its end: to the next filled cell
        {4, 1, 6}, // from an empty cell: to the next filled one
        {6, 1, 7}, // the next block's end
        {7, 1, 8}, // nothing filled below: the body's edge
        {8, 1, 8}, // at the edge: stays
        {7, -1, 6}, {6, -1, 3}, {3, -1, 1}, {1, -1, 1},
    };
    for (const Case& c : cases) {
        grid.SetCurrentCell(c.from, 1);
        grid.MoveToBlockEdge(c.dr, 0);
        EXPECT_EQ(grid.GetRow(), c.to) << "from row " << c.from << " by " << c.dr;
    }
    grid.SetCurrentCell(1, 1);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(grid.GetRow(), 3);
}

TEST(FlexGridEx, DeleteEmptiesTheSelectionUnlessRefused)
{
    GridFixture f;
    for (int r = 1; r < 4; ++r)
        for (int c = 1; c < 3; ++c)
            f.grid.SetTextMatrix(r, c, "v");
    f.grid.selectionModel()->select(
        QItemSelection(f.grid.GridModel()->IndexOf(1, 1), f.grid.GridModel()->IndexOf(2, 2)),
        QItemSelectionModel::ClearAndSelect);
    f.grid.SetBeforeDeleteCallback([] { return 0; });
    QTest::keyClick(&f.grid, Qt::Key_Delete);
    EXPECT_EQ(f.grid.GetTextMatrix(1, 1), "v");
    EXPECT_TRUE(f.sent.empty());

    f.grid.SetBeforeDeleteCallback([] { return 1; });
    QTest::keyClick(&f.grid, Qt::Key_Delete);
    EXPECT_EQ(f.grid.GetTextMatrix(1, 1), "");
    EXPECT_EQ(f.grid.GetTextMatrix(2, 2), "");
    EXPECT_EQ(f.grid.GetTextMatrix(3, 1), "v");
    ASSERT_EQ(f.sent.size(), 4u);
    for (const Sent& s : f.sent)
        EXPECT_EQ(s.text, "<null>");
}

TEST(FlexGridModel, FixedCellsBecomeHeadingsAndResizingKeepsTexts)
{
    CMSFlexGrid grid;
    grid.SetCols(3);
    grid.SetRows(3);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    grid.SetTextMatrix(0, 1, "Band");
    grid.SetTextMatrix(1, 0, "1000 RPM");
    grid.SetTextMatrix(1, 1, "0.5");
    CFlexGridModel* m = grid.GridModel();
    EXPECT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->columnCount(), 2);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "Band");
    EXPECT_EQ(m->headerData(0, Qt::Vertical).toString(), "1000 RPM");
    EXPECT_TRUE(grid.horizontalHeader()->isVisibleTo(&grid));
    grid.SetCols(5);
    EXPECT_EQ(grid.GetTextMatrix(1, 1), "0.5");
    EXPECT_EQ(grid.GetTextMatrix(1, 4), "");
    EXPECT_EQ(grid.GetTextMatrix(7, 7), ""); // outside: empty, no fault
    grid.SetTextMatrix(7, 7, "x");

    // A large table: the model holds a million cells without a widget per cell.
    grid.SetRows(10001);
    grid.SetCols(101);
    grid.SetTextMatrix(10000, 100, "last");
    EXPECT_EQ(m->rowCount(), 10000);
    EXPECT_EQ(m->data(m->index(9999, 99)).toString(), "last");
    EXPECT_EQ(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
}

TEST(EmbeddedGridWnd, ReportsCellClicksSynchronouslyAndMouseMovesLater)
{
    CEmbeddedGridWnd grid;
    grid.SetCols(3);
    grid.SetRows(3);
    grid.resize(300, 200);
    grid.show();
    QApplication::processEvents();
    std::vector<std::pair<quint32, qintptr>> cells, mouse;
    QObject::connect(&grid, &CEmbeddedGridWnd::Notify, [&](quint32 m, quintptr, qintptr l) {
        cells.push_back({m, l});
    });
    QObject::connect(&grid, &CEmbeddedGridWnd::MouseNotify, [&](quint32 m, quintptr, qintptr l) {
        mouse.push_back({m, l});
    });
    const QPoint p = grid.visualRect(grid.GridModel()->IndexOf(2, 1)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, p);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, p);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].first, WM_GRID_CELL_CLICK);
    EXPECT_EQ(cells[0].second, (qintptr(1) << 16) | 2);
    EXPECT_EQ(cells[1].first, WM_GRID_CELL_RCLICK);
    EXPECT_TRUE(mouse.empty()); // posted: not yet delivered
    QApplication::processEvents();
    ASSERT_GE(mouse.size(), 2u);
    EXPECT_EQ(mouse[0].first, WM_LBUTTONDOWN);
    EXPECT_EQ(mouse[0].second, (qintptr(p.y()) << 16) | p.x());
}

TEST(CustomTreeCtrl, ClicksAreReportedByRegion)
{
    CCustomTreeCtrl tree;
    tree.resize(300, 200);
    auto* root = new QTreeWidgetItem(&tree, QStringList("Vehicle"));
    auto* child = new QTreeWidgetItem(root, QStringList("Roof panel"));
    child->setFlags(child->flags() | Qt::ItemIsUserCheckable);
    child->setCheckState(0, Qt::Unchecked);
    root->setExpanded(true);
    tree.show();
    QApplication::processEvents();
    std::vector<std::pair<quint32, quintptr>> sent;
    QObject::connect(&tree, &CCustomTreeCtrl::Notify, [&](quint32 m, quintptr w, qintptr) { sent.push_back({m, w}); });

    const QRect rootRect = tree.visualRect(tree.indexFromItem(root));
    const QRect childRect = tree.visualRect(tree.indexFromItem(child));
    EXPECT_EQ(tree.HitTest(QPoint(rootRect.left() + 8, rootRect.center().y())), CCustomTreeCtrl::kOnLabel);
    EXPECT_EQ(tree.HitTest(QPoint(rootRect.left() - 4, rootRect.center().y())), CCustomTreeCtrl::kOnButton);
    EXPECT_EQ(tree.HitTest(QPoint(280, rootRect.center().y())), CCustomTreeCtrl::kOnRight);
    EXPECT_EQ(tree.HitTest(QPoint(2, childRect.center().y())), CCustomTreeCtrl::kOnIndent);
    EXPECT_EQ(tree.HitTest(QPoint(150, 190)), CCustomTreeCtrl::kNowhere);

    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(rootRect.left() + 8, rootRect.center().y()));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].first, 0x8202u);
    EXPECT_EQ(sent[1].first, 0x8207u);
    EXPECT_EQ(sent[0].second, reinterpret_cast<quintptr>(root));
    sent.clear();
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, QPoint(280, rootRect.center().y()));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].first, 0x820Fu + CCustomTreeCtrl::kOnRight);
}

TEST(CustomTreeCtrl, NextItemWalkLooksOneLevelUpOnly)
{
    CCustomTreeCtrl tree;
    auto* a = new QTreeWidgetItem(&tree, QStringList("a"));
    auto* a1 = new QTreeWidgetItem(a, QStringList("a1"));
    auto* a1x = new QTreeWidgetItem(a1, QStringList("a1x"));
    auto* a2 = new QTreeWidgetItem(a, QStringList("a2"));
    new QTreeWidgetItem(&tree, QStringList("b"));
    EXPECT_EQ(tree.GetRootItem(), a);
    EXPECT_EQ(tree.GetNextItem(a), a1);
    EXPECT_EQ(tree.GetNextItem(a1), a1x);
    EXPECT_EQ(tree.GetNextItem(a1x), a2);
    EXPECT_EQ(tree.GetNextItem(a2), tree.topLevelItem(1));
    tree.ExpandAllItems(CCustomTreeCtrl::kExpand);
    EXPECT_TRUE(a->isExpanded());
    EXPECT_TRUE(a1->isExpanded());
    tree.ExpandAllItems(CCustomTreeCtrl::kToggle);
    EXPECT_FALSE(a->isExpanded());
}

TEST(MultiFileDialog, KeepsEveryPathAndMendsRootSeparators)
{
    struct Case
    {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"C:\\\\data.txt", "C:\\data.txt"}, {"C:\\dir\\data.txt", "C:\\dir\\data.txt"},
        {"//data.txt", "/data.txt"},        {"//host/share/a.txt", "//host/share/a.txt"},
        {"/tmp/a.txt", "/tmp/a.txt"},       {"C:\\\\", "C:\\\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMultiFileDialog::FixRootSeparator(c.in), c.out) << c.in;

    std::vector<std::string> many;
    for (int i = 0; i < 300; ++i)
        many.push_back("/measurements/run-up-with-a-rather-long-file-name-" + std::to_string(i) + ".uff");
    CScriptedPrompts prompts;
    prompts.ChooseFiles(many).Cancel();
    CMultiFileDialog dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPaths(), many); // far beyond what a fixed name buffer would hold
    EXPECT_TRUE(prompts.Last().file.allowMultiple);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.GetPaths().empty());
}

TEST(ColorControls, ColoursAndIcons)
{
    CColorStaticST label("Level");
    label.SetBkColor(RGB(10, 20, 30));
    EXPECT_EQ(label.GetBkColor(), RGB(10, 20, 30));
    EXPECT_EQ(label.palette().color(QPalette::Window), QColor(10, 20, 30));
    label.SetBkColor(CColorStaticST::kSystemFace);
    EXPECT_EQ(label.GetBkColor(), FromQColor(QApplication::palette(&label).color(QPalette::Button)));

    CColorButton button("Start\nRecording");
    button.SetColors(RGB(255, 255, 255), RGB(0, 128, 0));
    EXPECT_EQ(button.GetFaceColor(), RGB(0, 128, 0));
    button.resize(120, 48);
    const QImage face = button.grab().toImage();
    EXPECT_EQ(face.pixelColor(60, 10), QColor(0, 128, 0)); // the face is painted in its colour
    button.setEnabled(false);
    EXPECT_FALSE(button.grab().isNull());

    CSXButton icon("Run");
    EXPECT_FALSE(icon.SetIcon(":/no/such/icon.png", 16, 16));
    EXPECT_TRUE(icon.icon().isNull());
    EXPECT_EQ(icon.IconWidth(), 0);
}

TEST(ZuDataTipCtrl, PlacedAtThePointAndHiddenByInput)
{
    QWidget owner;
    owner.resize(300, 200);
    owner.show();
    QApplication::processEvents();
    CZuDataTipCtrl tip(&owner);
    tip.SetTip(QPoint(500, 10), "outside"); // not in the owner: ignored
    EXPECT_TRUE(tip.GetText().isEmpty());
    tip.SetTip(QPoint(40, 30), "1000 RPM\t72.5 dB");
    EXPECT_EQ(tip.GetTipPoint(), owner.mapToGlobal(QPoint(40, 30)));
    EXPECT_EQ(tip.GetHotRect().width(), 2 * CZuDataTipCtrl::kMargin + 1);
    tip.Show(1);
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.geometry().topLeft(), tip.GetTipPoint() + QPoint(10, 5));
    EXPECT_GT(tip.width(), 20);
    QTest::keyClick(&owner, Qt::Key_A);
    EXPECT_FALSE(tip.isVisible());
    tip.SetHideOnKey(false);
    tip.Show(1);
    QTest::keyClick(&owner, Qt::Key_A);
    EXPECT_TRUE(tip.isVisible());
    tip.Show(0);
    EXPECT_FALSE(tip.isVisible());
}

TEST(DlgInputBox, CancelEmptiesThePresetText)
{
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& d) {
        static_cast<CDlgInputBox&>(d).TextEdit()->setText("2500");
        return d.PressOK();
    });
    dialogs.PressCancel();
    std::string text = "1000";
    EXPECT_TRUE(InputBox("Value:", "Add Value", text));
    EXPECT_EQ(text, "2500");
    EXPECT_FALSE(InputBox("Value:", "Add Value", text));
    EXPECT_EQ(text, "");

    CDlgInputBox box("Value:", "Add Value");
    EXPECT_EQ(box.windowTitle(), "Add Value");
    const QStringList faults = GrabAndCheckLayout(box, "orvex_platform_ui", "DlgInputBox");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
}
