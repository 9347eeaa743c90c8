#pragma once
// An element that the table windows show: rows and columns of cell texts for each table index
// (a band, a frequency or an RPM), with clipboard copy and paste through an archive over the
// clipboard text. Row 0 and column 0 are headers; data cells start at (1, 1).
//
// The defaults here serve any table that answers the cell and count operations: CopyToClipboard
// writes the cells tab-separated, PasteFromClipboard writes parsed numbers through
// ChangeDataValue. Classes whose tables work otherwise override them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/elements/MElement.h"
#include "platform/elements/ZuStdDataAccessor.h"
#include "platform/win/WinTypes.h"

class CArchive;
class CZuSubsystemTable;
class IMessageTarget;

// A rectangle of table cells (columns left..right, rows top..bottom, inclusive).
struct CZuCellRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    // Swaps the edges so that left <= right and top <= bottom.
    void Normalize();
};

// A table cell: x is the column, y the row.
struct CZuCellPoint
{
    int x = 0;
    int y = 0;
};

class CZuTableData : public CMElement, public IZuStdDataAccessor
{
    DECLARE_SERIAL(CZuTableData)
public:
    // Table data types (GetTableDataType): how the table window arranges its panes.
    enum : int
    {
        TABLE_PLAIN = 0,     // a single table: no band list, no chart
        TABLE_BY_INDEX = 1,  // a table per index, chosen in the band list
        TABLE_WITH_GRAPH = 2 // a table per index and a chart
    };

    CZuTableData();
    CZuTableData(const std::string& name, CMElement* parent, int type);
    ~CZuTableData() override;

    // ---- table operations (overridable, in this order) ----
    virtual COLORREF GetTableCellColor(int row, int col, int index);
    // Adds the subsystems a cell refers to to table; nothing here.
    virtual void GetSelection(int row, int col, int index, CZuSubsystemTable* table);
    // Sets the value behind data cell (row, col) of a table index (row and col count data rows and
    // columns from 0). With flag non-zero the old value goes to the undo buffer. Nothing here.
    virtual void ChangeDataValue(int row, int col, int index, double value, int flag);
    // Writes the cells of one table index as text lines ("\t" between cells, "\r\n" after each
    // row): the block is the data rows and columns, narrowed to the selection when given; with
    // labels the header row and the row headers come with it.
    virtual void CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection);
    // Reads text lines into the table from the point on (data cells; (1, 1) without a point). A first
    // line with a field that is not a number is a header and is skipped, and then the first field of
    // each line is a row label. Each number goes through ChangeDataValue (with undo); other fields
    // are skipped. Nothing happens when the values may not be changed (CanChangeValues 0).
    virtual void PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point);
    virtual std::string GetTableCellData(int row, int col, int index, int numberFormat);
    // The text a window shows for a cell, in the language loaded. Copies, pastes and files take
    // GetTableCellData, whose texts are the same in every language so that what was copied or
    // written in one language reads back in the other. Here the headings (row 0 and column 0)
    // that the text table knows are translated; tables that compose their texts compose them here
    // from translated parts.
    virtual std::string GetShownTableCell(int row, int col, int index, int numberFormat);
    // The number a data cell shows, unrounded (charts plot these, never the cell texts). False when
    // the cell shows no number; tables without numbers of their own answer false everywhere.
    virtual bool GetTableCellValue(int row, int col, int index, double& value);
    // The numbers of data rows 1 .. row count - 1 of one column, NaN where a cell shows none: what a
    // chart draws. The default asks GetTableCellValue cell by cell; large tables answer at once.
    virtual void GetTableColumnValues(int col, int index, std::vector<double>& values);
    virtual int GetTableRowCount(int index);
    virtual int GetTableColCount(int index);
    // Number of table indices (bands, frequencies or RPMs) and the label of one.
    virtual int GetTableFreqCount();
    virtual std::string GetFreqIndicator(int index);
    // A second index axis (none here).
    virtual int GetTableIndexCount();
    virtual std::string GetTableIndexText(int index);

    // The frame window that shows this table (not owned); null when none.
    virtual IMessageTarget* GetThisFrameWnd() const { return m_frame; }
    virtual void SetThisFrameWnd(IMessageTarget* frame) { m_frame = frame; }
    virtual int CanChangeValues() const { return m_canChangeValues; }
    void SetCanChangeValues(int canChange) { m_canChangeValues = canChange; }
    virtual int GetTableDataType() const { return m_tableDataType; }
    void SetTableDataType(int type) { m_tableDataType = type; }

    // ---- undo of cell changes ----
    // Restores the last recorded change (through ChangeDataValue without recording) and returns its
    // table index; -1 when there is nothing to undo.
    virtual int UndoData();
    int GetUndoBufferSize() const { return static_cast<int>(m_undo.size()); }
    void ClearUndoBuffer() { m_undo.clear(); }

    // Version byte, the element, the change flag and the table data type. The undo buffer and the
    // frame are not stored.
    void Serialize(CArchive& ar) override;

protected:
    // Records a change for UndoData (derived ChangeDataValue calls it with the old value).
    void PushUndo(int row, int col, int index, double oldValue);
    // Records a change that ChangeDataValue does not put back (a value stored another way, e.g. by a
    // paste into a table whose cells are not edited one by one): UndoData calls restore.
    void PushUndo(int index, std::function<void()> restore);

    // The data rows and columns of a table index (from 1 on), narrowed to the selection when given.
    CZuCellRect DataBlock(int index, const CZuCellRect* selection);
    // Writes the cells of a block as text lines ("\t" between cells, "\r\n" after each row); with
    // labels first the header row (headerFirst, then the column headers of the block) and each row
    // with its row header in front.
    void WriteBlock(CArchive& ar, const CZuCellRect& block, int withLabels, int index, int numberFormat,
                    const std::string& headerFirst);
    // Copies the cells of the selection, kept inside the table (all data cells without one), as
    // WriteBlock does; with labels titleLine comes first and the corner cell heads the header row.
    void CopySelection(CArchive& ar, int withLabels, int index, const CZuCellRect* selection, int numberFormat,
                       const std::string& titleLine);

    // Parses a clipboard field as a number the way the table texts are read ("%lf"): true and the
    // value when the field starts with a number.
    static bool ParseNumber(const std::string& field, double& value);
    // Splits a line at tabs into fields of at most 255 characters.
    static std::vector<std::string> SplitFields(const std::string& line);

private:
    struct UndoRecord
    {
        int row;
        int col;
        int index;
        double value;
        std::function<void()> restore; // set: how to put the old value back
    };
    static constexpr size_t kMaxUndo = 1000;

    IMessageTarget* m_frame = nullptr;
    int32_t m_canChangeValues = 1;
    int32_t m_tableDataType = TABLE_PLAIN;
    std::vector<UndoRecord> m_undo;
};
