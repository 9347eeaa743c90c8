#pragma once
// The numbers of the power-contribution viewer, without a window: for one power-contribution
// result over RPM and a chosen axis (over frequency at one RPM, or over RPM at one band) the
// contributors into the target, and per contributor and axis point
//   view 0: the share of the target's SPL (stacks to the total level),
//   view 1: the rate of the inflow in percent,
//   view 2: the SPL the contributor's power alone keeps in the target cavity,
//           p^2 = P / (w eta) * rho c^2 / V, with the total and the sum of the ticked contributors.
// It also holds the colour rule of the contributor curves and the hit test of the stacked chart.
#include "platform/win/WinTypes.h"

#include <functional>
#include <string>
#include <vector>

class CHSEAPowerContribution;
class CZuRpmPcFunc;

class CCavPcViewData
{
public:
    enum
    {
        kViewShare = 0,
        kViewRate = 1,
        kViewSpl = 2,
    };
    enum
    {
        kAxisFreq = 0,
        kAxisRpm = 1,
    };
    // The level of no value (non-positive power or sum), and the floor of the stacked cells.
    static constexpr double kNoLevel = -307.0;
    static constexpr double kFloor = 1e-10;
    static constexpr double kRhoC2 = 343.0 * 343.0 * 1.21;

    // The target's SPL in dB at (RPM index, band); a non-finite value has none (taken as 0 dB).
    using SplSource = std::function<double(int rpm, int band)>;
    // The target's intrinsic damping loss factor and the band frequency of the HSEA result of an
    // RPM, at a band of the result; false when they are not known.
    using DampingSource = std::function<bool(int rpm, int band, double& eta, double& freq)>;
    using KindTest = std::function<bool(const std::string& name)>;

    explicit CCavPcViewData(const CZuRpmPcFunc* result = nullptr);

    void SetResult(const CZuRpmPcFunc* result) { m_result = result; }
    void SetTargetSpl(SplSource spl) { m_spl = std::move(spl); }
    void SetDamping(DampingSource damping, double volume)
    {
        m_damping = std::move(damping);
        m_volume = volume;
    }
    void SetStructureTest(KindTest isStructure) { m_isStructure = std::move(isStructure); }
    // A-weighting correction per band in dB; applied when weighting is 1.
    void SetAWeighting(std::vector<double> db) { m_aWeight = std::move(db); }
    void SetWeighting(int weighting) { m_weighting = weighting; }
    int GetWeighting() const { return m_weighting; }

    int GetRpmCount() const;
    double GetRpm(int i) const;
    int GetBandCount() const;
    double GetBandFreq(int band) const;
    const CHSEAPowerContribution* GetTable(int rpm) const;

    // Rebuilds the contributors and the values of a view on an axis at an RPM (axis 0) or band
    // (axis 1) index. The tick states of view 2 are kept for contributors that stay.
    void Compute(int view, int axis, int index);

    int GetView() const { return m_view; }
    int GetAxis() const { return m_axis; }
    int GetIndex() const { return m_index; }
    int GetContributorCount() const { return static_cast<int>(m_names.size()); }
    const std::vector<std::string>& GetNames() const { return m_names; }
    // 1 when the contributor counts into the selected sum of view 2 (all at first).
    int GetSelected(int c) const;
    void SetSelected(int c, int selected);
    int GetPointCount() const { return static_cast<int>(m_x.size()); }
    const std::vector<double>& GetX() const { return m_x; }
    // Cell of a contributor at a point (views 0/1: share or rate, view 2: SPL in dB).
    double GetCell(int c, int point) const;
    // Views 0/1: the target's SPL; view 2: the total SPL of every contributor.
    const std::vector<double>& GetTotal() const { return m_total; }
    // View 2: the SPL of the selected contributors, and its difference to the total (no value
    // where either sum has none, 0 below 0.1 dB).
    const std::vector<double>& GetSelectedSum() const { return m_selectedSum; }
    std::vector<double> GetDifference() const;

    // Index of the last contributor of the first structure/acoustic group (the count with fewer
    // than two contributors, or when every contributor is of one kind).
    int GetGroupEnd() const;
    // The curve colours: a hue per contributor from the C library's generator seeded with 2, full
    // saturation up to the group end, paler after it (32 in cumulative charts, else 80).
    std::vector<COLORREF> GetColors(bool cumulative) const;
    static std::vector<COLORREF> MakeColors(int count, int groupEnd, bool cumulative);
    static std::vector<COLORREF> MakeColors(const std::vector<bool>& saturated, bool cumulative);
    // The 15-bit generator of the C library: seed * 214013 + 2531011, bits 16..30.
    class CRand15
    {
    public:
        explicit CRand15(uint32_t seed) : m_seed(seed) {}
        int Next()
        {
            m_seed = m_seed * 214013u + 2531011u;
            return static_cast<int>((m_seed >> 16) & 0x7FFF);
        }

    private:
        uint32_t m_seed;
    };

    // The stacked chart's hit test at x (0-based point position, fractional) and value y: the
    // first contributor whose stacked top, interpolated between the two neighbouring points, lies
    // above y; -1 for none.
    int HitTest(double x, double y) const;
    static int HitTest(const std::vector<std::vector<double>>& cells, double x, double y);
    // The running sums of the cumulative chart: curve c holds, at each point, the sum of the cells
    // of contributors 0..c (a contributor without a cell at a point adds nothing there).
    static std::vector<std::vector<double>> RunningSums(const std::vector<std::vector<double>>& cells);
    const std::vector<std::vector<double>>& GetCells() const { return m_cells; }

    // The level of an energy-like sum p^2 / p0^2 (no value when not positive).
    static double Level(double p2);

private:
    double AWeight(int band) const;
    void BuildContributors(const std::vector<int>& keptTicks);
    void FillShares();
    void FillSpl();

    const CZuRpmPcFunc* m_result = nullptr;
    SplSource m_spl;
    DampingSource m_damping;
    KindTest m_isStructure;
    double m_volume = 0.0;
    std::vector<double> m_aWeight;
    int m_weighting = 0;

    int m_view = 0, m_axis = 0, m_index = 0;
    std::vector<std::string> m_names;
    std::vector<int> m_rows; // row of each contributor in the tables
    std::vector<int> m_selected;
    std::vector<double> m_x;
    std::vector<std::vector<double>> m_cells; // [contributor][point]
    std::vector<double> m_total, m_selectedSum;
};
