#pragma once
// The grid of the table windows: a QTableView over a CZuTableModel, with the table commands of a
// spreadsheet-like grid: copy of the selection to the clipboard as tab-separated text (with or
// without the headers), paste at the current cell, undo of the last changes, fitting column widths
// to their texts, and selecting a cell from outside (searches, charts).
//
// Cells are named in table coordinates throughout: row 0 and column 0 are the headers, data
// cells start at (1, 1). A click on a column header makes the current cell (0, column), on a row
// header (row, 0), on the corner (0, 0), so that a paste there is refused as a paste on a header.
//
// Derived views choose the table index the commands act on by overriding CopySubset and
// PasteSubset (for instance -1, all indices, while every subset is plotted).
#include "platform/win/CommandIds.h"
#include "platform/win/CommandTable.h"

#include <QKeySequence>
#include <QTableView>

#include <map>
#include <vector>

#include "platform/elements/ZuTableData.h"

class CZuTableModel;
class QAction;

class CZuTableGrid : public QTableView
{
    Q_OBJECT
public:
    // Command ids of the grid's own menu (the main menu's edit commands and the value copy).
    static constexpr int ID_EDIT_COPY = CommandId::ID_EDIT_COPY;
    static constexpr int ID_EDIT_PASTE = CommandId::ID_EDIT_PASTE;
    static constexpr int ID_EDIT_UNDO = CommandId::ID_EDIT_UNDO;
    static constexpr int ID_COPY_VALUES = CommandId::ID_COPY_VALUES;

    explicit CZuTableGrid(QWidget* parent = nullptr);
    ~CZuTableGrid() override;

    CZuTableModel* TableModel() const { return m_model; }
    // Shows one index of a table (null: nothing) with cell texts of the given decimals and columns
    // widthTwips wide (1/1440 inch; at least 20 pixels).
    void SetTable(CZuTableData* data, int index);
    void SetNumberFormat(int decimals);
    void SetCellWidthTwips(int widthTwips);
    CZuTableData* GetTable() const;
    int GetIndex() const;
    // Re-reads the table (after its values or view settings changed), keeping the current cell.
    void Refresh();
    // The width that shows the row headings and the first columns (at most `columns`) whole.
    int PreferredWidth(int columns = 4) const;

    // ---- cells (table coordinates) ----
    CZuCellPoint CurrentCell() const;
    // Makes (row, col) current and selected; row or col 0 selects the header (whole column or
    // row), -1 keeps that coordinate of the current cell.
    void SelectCell(int row, int col);
    // The selection's rectangle: from the current cell to the far corner of the selection.
    CZuCellRect SelectionRect() const;

    // ---- commands ----
    // Copies the selection of index (or all indices with -1) to the clipboard; message 6019 when
    // the clipboard cannot be written. False when nothing was copied.
    bool CopySelection(int withLabels, int index);
    // Pastes the clipboard at the current cell into index: message 6111 on a header cell, 6018
    // when the clipboard holds no text. True when the table took the text (then Changed is sent).
    bool PasteAtCurrentCell(int index);
    // Undoes the last paste through this grid as a whole (or else the table's last recorded
    // change); index gets the table index it belonged to. False when there was nothing to undo.
    bool UndoLastChange(int* index = nullptr);
    // Widths of the selected columns fitted to their longest text (100 twips per character).
    void FitSelectedColumns();
    // Widens the columns to show their headings and cells whole, up to kWidestCellChars digits
    // wide: for tables of composed texts (a path of subsystems), which say nothing cut short.
    // Numbers keep the set width.
    void FitColumnsToCells();
    static constexpr int kWidestCellChars = 48;

    // What the commands act on; by default the index shown.
    virtual int CopySubset() const;
    virtual int PasteSubset() const;
    // The menu commands: copy with (1) or without (0) labels, paste, undo. Derived views may add
    // to them; each returns whether something happened.
    virtual bool OnCopy(int withLabels);
    virtual bool OnPaste();
    virtual bool OnUndo();
    // The grid's menu: the text, shortcut (standardKey) and action of each command.
    using CommandTable = TCommandTable<CZuTableGrid, CZuTableGrid>;
    static const CommandTable& Commands();
    // Runs a command of the grid's menu by id; false for an unknown one.
    bool OnCommand(int id);
    QAction* Action(int id) const;

signals:
    // The table's values changed through the grid (paste or undo); index is the table index.
    void Changed(int index);
    // A body cell was clicked (table coordinates).
    void CellClicked(int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Columns of a narrow table are widened to show their headings whole.
    void FitColumnsToHeadings();
    void AddCommand(const CommandTable::Entry& entry);

    CZuTableModel* m_model;
    // A header made current by a click on it: (row, col) with one of them 0; (-1, -1) when a body
    // cell is current.
    CZuCellPoint m_header{-1, -1};
    std::map<int, QAction*> m_actions;
    std::vector<int> m_undoMarks; // the table's undo depth before each paste
};
