#pragma once
// What a switchable-axis table window shows and does, without widgets: an RPM-selected function
// (one function per RPM step or per order, each with one value per data point and subsystem, or a
// plain function with one value per data point, shown as one column) as a table whose first axis
// the user picks. View type 0 shows the table of one RPM (or order) with
// the data points as rows; view type 1 shows one data point (a frequency) with the RPMs as rows.
// Columns are the subsystems either way. Grid row 0 and column 0 are headers.
//
// It is itself a table (a CZuTableData that belongs to no project): the table index is the first
// index, so the table windows' grid, clipboard and undo work on it as on any table. Values changed
// through it are written into the function's own entries.
#include <string>
#include <utility>
#include <vector>

#include "platform/elements/ZuTableData.h"
#include "platform/win/WinTypes.h"
#include "views/TableChartData.h"

class CHSEAOptions;
class CZuFuncElement;
class CZuRpmSelFunc;

class CSwAxisTableCore : public CZuTableData
{
public:
    enum : int
    {
        VIEW_BY_FIRST = 0, // rows are the data points of the chosen RPM or order
        VIEW_BY_POINT = 1  // rows are the RPMs at the chosen data point
    };

    CSwAxisTableCore();
    ~CSwAxisTableCore() override;

    // The function and the view type; the first index starts at 0.
    void SetRpmSelFunc(CZuRpmSelFunc* function, int viewType = VIEW_BY_FIRST);
    CZuRpmSelFunc* GetRpmSelFunc() const { return m_function; }
    void SetHSEAOptions(const CHSEAOptions* options) { m_options = options; }
    const CHSEAOptions* GetHSEAOptions() const { return m_options; }
    // The analysis kind of the project the function lies in: 0 by RPM, 1 by order.
    int GetProjectType() const;

    // ---- the index model ----
    void SetViewType(int viewType);
    int GetViewType() const { return m_viewType; }
    int Get1stIndexCount() const;
    double Get1stIndex(int i) const;
    void SetCurSel1stIndex(int i);
    int GetCurSel1stIndex() const { return m_first; }
    int Get2ndIndexCount() const;
    double Get2ndIndex(int i) const;
    std::string Get2ndIndexAsString(int i) const;
    int GetSubsetCount() const;
    std::string GetSubsetName(int j) const;
    // The number the table shows at (second index i, subset j) of the current first index (or of
    // first index `first`); NaN where it shows no value.
    double GetValue(int i, int j) const { return GetValueAt(m_first, i, j); }
    double GetValueAt(int first, int i, int j) const;
    std::string GetValueAsString(int i, int j, int decimals) const { return ValueText(m_first, i, j, decimals); }
    COLORREF GetCellColor(int i, int j) const;
    std::string GetGraphTitle() const;
    std::string GetGraphSubTitle() const;
    bool IsCharted() const;

    // ---- dialog bar ----
    // The axis choices in combo order (their index is the view type).
    std::vector<std::string> GetAxisChoices() const;
    // "RPM :", "Freq :" or "Order :" in front of the first-index combo.
    std::string GetFirstIndexLabel() const;
    // The first-index values ("%g") with their index.
    std::vector<std::pair<std::string, int>> GetFirstIndexChoices() const;

    // ---- grid texts (row and column are grid cells) ----
    int GetRowCount() const { return Get2ndIndexCount() + 1; }
    int GetColCount() const { return GetSubsetCount() + 1; }
    std::string GetCellText(int row, int col) const { return CellText(m_first, row, col, GetDecimalPlaces()); }
    int GetDecimalPlaces() const;
    int GetCellWidth() const;

    // ---- chart ----
    std::string GetAxisLabel() const;
    std::string GetUnitLabel() const;
    CTableChartData BuildChart() const;

    // ---- the table (index: the first index) ----
    COLORREF GetTableCellColor(int row, int col, int index) override;
    // Sets the stored value of data cell (second index row, subset col) of first index `index`.
    void ChangeDataValue(int row, int col, int index, double value, int flag) override;
    // The data cells of the selection (all without one) as tab-separated lines, with the corner,
    // the subset names and the row labels when withLabels is set; values at full precision.
    void CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection) override;
    // Pastes tab-separated text with its first value at grid cell point (x column, y row; data
    // cells only). A first line with a field that is not a number is a header: it is skipped and
    // the first field of every line is a row label. An empty or non-numeric field leaves its cell
    // as it is and keeps the place of the fields after it. Values beyond the table are dropped.
    // Every change goes to the undo buffer; changing the view type or the function empties it
    // (the cells would no longer be where they were).
    void PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point) override;
    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    int GetTableFreqCount() override { return Get1stIndexCount(); }
    std::string GetFreqIndicator(int index) override;
    int CanChangeValues() const override;
    int GetTableDataType() const override;

private:
    // The function holding (second index i) at first index `first`, and its data point there.
    CZuFuncElement* Cell(int first, int i, int& point) const;
    // Entry e: a function over subsystems or a plain function; null for anything else.
    CZuFuncElement* Entry(int e) const;
    // The columns of an entry: its subsystems, or the one column of a plain function.
    static int ColumnCount(const CZuFuncElement* f);
    // The stored value of column k at data point i (k below ColumnCount).
    static double& Stored(CZuFuncElement& f, int i, int k);
    // The number the cell shows; NaN where it shows none.
    static double Shown(const CZuFuncElement& f, int i, int k);
    // The value to store for a number typed or pasted into a cell of f.
    static double ToStored(const CZuFuncElement& f, double shown);
    int ShowInDB() const;
    std::string ValueText(int first, int i, int j, int decimals) const;
    std::string CellText(int first, int row, int col, int decimals) const;
    std::string Copy(int first, const CZuCellRect* cells, int withHeaders) const;
    int Get2ndIndexCountAt(int first) const;
    // The first index as the list and the bar show it.
    std::string FirstIndexText(int index) const;

    CZuRpmSelFunc* m_function = nullptr;
    const CHSEAOptions* m_options = nullptr;
    int m_viewType = VIEW_BY_FIRST;
    int m_first = 0;
};
