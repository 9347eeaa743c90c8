#pragma once
// The numbers of the SPL comparison by single input power, without a window: per input
// subsystem (source) the energy it alone keeps in the target cavity over (RPM, band), the overall
// sum and the sum without the selected sources, as levels (ρc² / (V p0²) · E) and as the shares
// of the stacked chart.
#include "platform/win/WinTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CZuRpmMultiVecFunc;

class CSplBySingleIPData
{
public:
    static constexpr double kNoLevel = -307.0;
    static constexpr double kFloor = 1e-10;
    static constexpr double kRhoC2 = 343.0 * 343.0 * 1.21;
    static constexpr const char* kOverall = "O.A.";
    static constexpr const char* kOverallExcluding = "O.A.(Excluding Selected Data)";

    struct CDataStruct
    {
        std::vector<double> values;           // along the current axis at the current position
        std::vector<std::vector<double>> map; // [rpm][band]; empty for the overall rows
        std::string name;
        int shown = 1;
        int style = 0;
        COLORREF baseColor = 0;
        COLORREF drawnColor = 0;
        bool structure = false;
        bool HasMap() const { return !map.empty(); }
    };
    using KindTest = std::function<bool(const std::string& name)>;

    // The sources are the columns of the table's first entry; every entry's column is found by
    // name (a source an entry lacks counts 0 there).
    void SetTable(const CZuRpmMultiVecFunc* energies, const KindTest& isStructure = {});
    // Level factor ρc² / (V p0²) for a cavity of V m³; 0 (every level no value) when V <= 0.
    void SetVolume(double volume);
    double GetLevelFactor() const { return m_levelFactor; }

    int GetRpmCount() const { return static_cast<int>(m_rpms.size()); }
    int GetBandCount() const { return static_cast<int>(m_freqs.size()); }
    const std::vector<double>& GetRpms() const { return m_rpms; }
    const std::vector<double>& GetFreqs() const { return m_freqs; }
    // Axis 0: over frequency at an RPM index; 1: over RPM at a band index.
    const std::vector<double>& GetX(int axis) const { return axis == 1 ? m_rpms : m_freqs; }
    int GetPositionCount(int axis) const { return axis == 1 ? GetBandCount() : GetRpmCount(); }

    void Compute(int axis, int position);
    int GetAxis() const { return m_axis; }
    int GetPosition() const { return m_position; }
    std::vector<CDataStruct>& Rows() { return m_rows; }
    const std::vector<CDataStruct>& Rows() const { return m_rows; }
    int GetSourceCount() const { return m_sources; }
    int OverallRow() const { return m_sources; }
    int ExcludingRow() const { return m_sources + 1; }

    // Selection of rows (in order of selection); the excluding sum leaves the selected out.
    const std::vector<int>& GetSelection() const { return m_selection; }
    void Select(int row);
    void ClearSelection();

    // The level of an energy; no value when E · factor is not positive.
    double Level(double energy) const;
    // Cells of the stacked chart (view 0: share of the overall level, else percent) per source.
    std::vector<std::vector<double>> StackedCells(int view) const;
    // Net factor of the sources of a kind at a point: 1 - (sum of negative magnitudes) / (sum of
    // positive values), 0 without a positive value.
    double NetFactor(bool structure, int point) const;

    // The energy table that the comparison shows, from a table of SPL in dB per source
    // (HUGE_VAL none) of a cavity of V m³: E = p² V / (ρc²).
    static std::unique_ptr<CZuRpmMultiVecFunc> EnergiesFromSpl(const CZuRpmMultiVecFunc& spl, double volume);

private:
    void Recolor();

    std::vector<double> m_rpms, m_freqs;
    std::vector<CDataStruct> m_rows;
    int m_sources = 0;
    double m_levelFactor = 0.0;
    int m_axis = 0, m_position = 0;
    std::vector<int> m_selection;
};
