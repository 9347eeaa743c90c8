#pragma once
// An editable flex grid: a double click on a body cell opens an in-cell combo box (CCmbEx) whose
// entries the parent fills when told that the edit begins; Enter or leaving the combo writes the
// chosen text into the cell, Escape drops it. Ctrl+arrows jump to the edge of a block of filled
// cells as in a spreadsheet; Delete empties the selected cells.
//
// The parent hears of this through Notify, synchronously (as a sent message):
//   0x8101 an edit begins: wParam (column << 16) | row, lParam the CCmbEx* to fill;
//   0x8102 a cell took a text: wParam as above, lParam a const char* (UTF-8, valid during the
//          call) or 0 when the cell was emptied by Delete;
//   0x7EA  the cell's text changed (see below).
#include "platform/ui/MSFlexGrid.h"
#include "platform/win/Messages.h"

#include <cstdint>
#include <functional>

class CCmbEx;

// After 0x8102, when the cell's text changed, WM_GRID_CELL_CHANGED: wParam 0, lParam
// (column << 16) | row, as the embedded grid reports its cell changes.

class CFlexGridEx : public CMSFlexGrid
{
    Q_OBJECT
public:
    enum EditFlags
    {
        kEditable = 0x1,  // double clicks start in-cell edits
        kAppendRow = 0x2, // a text committed in the last row adds a row below it
    };

    explicit CFlexGridEx(QWidget* parent = nullptr);

    void SetEditFlags(int flags) { m_editFlags = flags; }
    int GetEditFlags() const { return m_editFlags; }
    // Asked with (column << 16) | row before an edit starts; 0 refuses the edit.
    void SetBeforeEditCallback(std::function<int(uintptr_t cell)> callback) { m_beforeEdit = std::move(callback); }
    // Asked before Delete empties the selection; 0 keeps the cells.
    void SetBeforeDeleteCallback(std::function<int()> callback) { m_beforeDelete = std::move(callback); }
    // The combo's font: face and size in points.
    void SetComboFont(int pointSize, const std::string& face);

    CCmbEx* Combo() const { return m_combo; }
    bool IsEditing() const { return m_editing; }
    int EditRow() const { return m_editRow; }
    int EditCol() const { return m_editCol; }

    // Starts an edit of a body cell as a double click does; false when it cannot start.
    bool StartEdit(int row, int col);
    // The combo's report (0x8110): Escape cancels, any other key (or 0, focus lost) commits.
    void OnComboKey(int key);
    // Moves the current cell as Ctrl+arrow does (dr, dc one of -1, 0, 1).
    void MoveToBlockEdge(int dr, int dc);
    // Empties the selected body cells as Delete does; false when the call-back refused.
    bool DeleteSelection();

    static uintptr_t CellParam(int row, int col) { return (uintptr_t(uint32_t(col)) << 16) | uint32_t(row); }

signals:
    void Notify(quint32 msg, quintptr wParam, qintptr lParam);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void EndEdit(bool commit);

    CCmbEx* m_combo;
    int m_editFlags = 0;
    bool m_editing = false;
    int m_editRow = -1;
    int m_editCol = -1;
    std::function<int(uintptr_t)> m_beforeEdit;
    std::function<int()> m_beforeDelete;
};
