#pragma once
// Power contributions into one target subsystem of a solved HSEA result, per band: for every
// subsystem the power it feeds into the target (positive) or takes from it (negative), a leak
// part that the viewers fill, and the share of the larger of the inflow and outflow totals in
// percent. Row r < N belongs to subsystem r of the result's table, row N to the target's own input
// power (named by string 6090).
//
// The subsystem table is the owner's (not owned, not stored): after reading, the owner binds it
// again (BindSubsystemTable); until then, and for rows past its end, the names are empty.
//
// Table (7 columns): the inflows ranked on the left, the outflows on the right, a header row and a
// totals row; the rate cells are coloured by a 16-colour blue-to-red palette.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/elements/ZuFuncElement.h"
#include "spectral/SubsystemRowTable.h"

class C3DModelDoc;
class CZuSubsystemTable;

class CHSEAPowerContribution : public CZuFuncElement, public ISubsystemRowTable
{
    DECLARE_SERIAL(CHSEAPowerContribution)
public:
    enum : int
    {
        COL_POWER = 0,
        COL_LEAK = 1,
        COL_RATE = 2,
    };
    // Palette of the rate colours (red, green, blue in 0..1), index 0 the weakest.
    static const float kPalette[16][3];

    CHSEAPowerContribution();
    // Named by string 7036 with the target; all cells 0.
    CHSEAPowerContribution(const std::string& target, const CZuSubsystemTable* table, int bandCount);
    ~CHSEAPowerContribution() override;

    // The owner's table (not owned); null unbinds.
    void BindSubsystemTable(const CZuSubsystemTable* table) override { m_table = table; }
    const CZuSubsystemTable* GetSubsystemTable() const { return m_table; }
    uint32_t GetRowCountN() const { return m_n; }

    // Cell (band, row 0..N, column 0..2); a cell outside gives a scratch value that is not kept.
    double& CellValue(int band, int row, int column);
    double CellValue(int band, int row, int column) const;
    // Subsystem name of row < N, string 6090 for row N, empty otherwise (and while unbound).
    std::string GetRowName(int row) const;
    // Entry of the inflow list of a band; -1 outside or past the list.
    int GetIndexAt(int band, int entry) const;
    int GetOutflowIndexAt(int band, int entry) const;
    double GetInflowTotal(int band) const;
    double GetOutflowTotal(int band) const;
    int GetInflowCount(int band) const;
    int GetOutflowCount(int band) const;

    // Totals, counts and lists of every band; rates of the band (-1: every band). Rates of a band
    // whose totals are both 0 keep their previous values.
    void RecomputeRates(int band);

    // Palette index of the rate of list entry k relative to the list's first entry, 0..15.
    int ColorIndex(int band, int entry, bool inflow) const;
    // Colours the subsystems of a cell in the 3D model: columns 1 and 4 the named subsystem,
    // columns 2, 3 (inflows) and 5, 6 (outflows) every listed structure or cavity by its rate.
    void ColorModelSubsystems(int row, int col, int band, C3DModelDoc* model) const;

    COLORREF GetTableCellColor(int row, int col, int index) override;
    void GetSelection(int row, int col, int index, CZuSubsystemTable* table) override;
    // The tab-separated text of every band (the target's own input row is left out).
    void CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection) override;
    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    // The totals row's names are ours; the other cells name subsystems, shown as they are.
    std::string GetShownTableCell(int row, int col, int index, int numberFormat) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int) override { return 7; }
    int GetTableFreqCount() override { return GetDataCount(); }
    std::string GetFreqIndicator(int index) override;
    // The clipboard text itself.
    std::string ClipboardText() const;

    // The function element part, N, then columns 0 and 1 band by band (N + 1 values each). Rates,
    // totals and lists are recomputed after a read, when first asked for.
    void Serialize(CArchive& ar) override;

protected:
    void OnDataCountChanged(int oldCount) override;

private:
    void Allocate();
    void AllocateCells();
    // Totals, counts and lists of every band, empty.
    void AllocateSums();
    bool Inside(int band, int row, int column) const;
    // Makes the rates, totals and lists of a table read from a file.
    void EnsureRates() const;

    const CZuSubsystemTable* m_table = nullptr;
    uint32_t m_n = 0;
    std::vector<double> m_cells[3]; // [band * (N + 1) + row]
    std::vector<double> m_inTotal, m_outTotal;
    std::vector<std::vector<int>> m_inList, m_outList;
    std::vector<int> m_inCount, m_outCount;
    double m_scratch = 0.0;
    bool m_ratesStale = false;
};
