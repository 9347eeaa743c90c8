#pragma once
// What an HSEA data-table window shows and does, without widgets: one table of the HSEA model or
// of its results (loss-factor matrices, vectors per subsystem, power contributions, ...) with its
// band list, grid cells, chart curves, cell search and RPM selector. The window's document holds
// one of these; the window's grid copies, pastes and undoes through the table itself.
//
// Row 0 and column 0 of the grid are headers; data cells start at (1, 1).
#include <string>
#include <utility>
#include <vector>

#include "platform/elements/ZuTableData.h"
#include "platform/win/WinTypes.h"
#include "views/TableChartData.h"

class CHSEAOptions;
class CZuRpmSelFunc;
class CZuSubsystemTable;

class CHSEADataTableCore
{
public:
    // What the cell search offers.
    enum SearchKind
    {
        SEARCH_NONE,
        SEARCH_MATRIX,
        SEARCH_VECTOR
    };

    CHSEADataTableCore() = default;

    // The element the window is opened on. An RPM-selected function shows its first entry, with
    // the selector over its entries; a table inside one shows itself with the selector.
    void SetElement(CZuTableData* element);
    CZuTableData* GetElement() const { return m_element; }
    // The element is gone; the table shown stays.
    void ForgetElement() { m_element = nullptr; }
    // The table shown (replaced by the RPM selector); the band stays when the new table has it.
    void SetTableData(CZuTableData* table);
    CZuTableData* GetTableData() const { return m_table; }
    void SetHSEAOptions(const CHSEAOptions* options) { m_options = options; }
    const CHSEAOptions* GetHSEAOptions() const { return m_options; }
    void SetOrderTracking(int on) { m_orderTracking = on ? 1 : 0; }
    int IsOrderTracking() const { return m_orderTracking; }

    int GetFrequencyIndex() const { return m_band; }
    void SetFrequencyIndex(int band);

    // ---- panes and bars ----
    bool ShowsBandList() const;
    bool ShowsChart() const;
    std::vector<std::string> GetBandLabels() const;
    // The label in front of the selector: "Order :" for an order-tracking window, else "RPM :".
    std::string GetSelectorLabel() const;
    // The RPM-selected function whose entries the selector offers; null when there is none.
    CZuRpmSelFunc* GetRpmSelector() const;
    // The selector's entries: the RPM ("%g") and the entry index.
    std::vector<std::pair<std::string, int>> GetRpmChoices() const;
    // Shows entry i of the selector; false (nothing changes) without a selector or entry i.
    bool SelectRpm(int i);
    // The entry shown; -1 without a selector.
    int GetSelectedRpm() const;

    // ---- grid ----
    int GetRowCount() const;
    int GetColCount() const;
    std::string GetCellText(int row, int col) const;
    // Background of a cell; 0 for none.
    COLORREF GetCellColor(int row, int col) const;
    int GetDecimalPlaces() const;
    // Column width in characters (the options' table cell width).
    int GetCellWidth() const;
    // True for tables whose cells are composed texts (the steps of dominant paths, the names and
    // totals of power contributions): their columns are as wide as their texts, the set width at
    // least.
    bool FitsColumnsToCells() const;
    bool CanEdit() const;

    // ---- cell search ----
    SearchKind GetSearchKind() const;
    // The names offered: the matrix's row and column subsystems, or the vector's subsystems.
    std::vector<std::string> GetSearchRowNames() const;
    std::vector<std::string> GetSearchColNames() const;
    // The data cell (0-based row and column) of a matrix cell by names; false when one is unknown.
    bool FindMatrixCell(const std::string& rowName, const std::string& colName, int& row, int& col) const;
    // The data column (0-based) of a vector's subsystem; -1 when unknown.
    int FindVectorColumn(const std::string& name) const;

    // ---- chart and 3D selection ----
    CTableChartData BuildChart() const;
    std::string GetAxisLabel() const;
    std::string GetUnitLabel() const;
    // The subsystems a cell refers to, without wave signs (what the 3D model windows select).
    void GetCellSelection(int row, int col, CZuSubsystemTable& names) const;
    // Shows a cell in the open model windows: a power contribution colours the subsystems by
    // their contribution, any other table selects the subsystems of the cell.
    void ShowCellInModels(int row, int col) const;

private:
    int ShowInDB() const;
    int AWeighting() const;

    CZuTableData* m_element = nullptr;
    CZuTableData* m_table = nullptr;
    const CHSEAOptions* m_options = nullptr;
    int m_orderTracking = 0;
    int m_band = 0;
};
