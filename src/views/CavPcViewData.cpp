#include "views/CavPcViewData.h"

#include "common/ColorConv.h"
#include "models/HSEAPowerContribution.h"
#include "spectral/ZuRpmPcFunc.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {
constexpr double kTwoPi = 6.28318530717959;
constexpr double kInvP0Squared = 2.5e9; // 1 / (2e-5 Pa)^2
} // namespace

CCavPcViewData::CCavPcViewData(const CZuRpmPcFunc* result) : m_result(result) {}

int CCavPcViewData::GetRpmCount() const
{
    return m_result ? m_result->GetRpmCount() : 0;
}

double CCavPcViewData::GetRpm(int i) const
{
    return i >= 0 && i < GetRpmCount() ? m_result->GetRpm(i) : 0.0;
}

const CHSEAPowerContribution* CCavPcViewData::GetTable(int rpm) const
{
    if (rpm < 0 || rpm >= GetRpmCount())
        return nullptr;
    return DynamicDowncast<CHSEAPowerContribution>(m_result->GetRpmData(rpm));
}

int CCavPcViewData::GetBandCount() const
{
    const CHSEAPowerContribution* t = GetTable(0);
    return t ? t->GetDataCount() : 0;
}

double CCavPcViewData::GetBandFreq(int band) const
{
    const CHSEAPowerContribution* t = GetTable(0);
    return t && band >= 0 && band < t->GetDataCount() ? t->DataIndex(band) : 0.0;
}

double CCavPcViewData::AWeight(int band) const
{
    if (m_weighting != 1 || band < 0 || band >= static_cast<int>(m_aWeight.size()))
        return 0.0;
    return m_aWeight[static_cast<size_t>(band)];
}

int CCavPcViewData::GetSelected(int c) const
{
    return c >= 0 && c < static_cast<int>(m_selected.size()) ? m_selected[static_cast<size_t>(c)] : 0;
}

void CCavPcViewData::SetSelected(int c, int selected)
{
    if (c >= 0 && c < static_cast<int>(m_selected.size()))
        m_selected[static_cast<size_t>(c)] = selected ? 1 : 0;
}

double CCavPcViewData::GetCell(int c, int point) const
{
    if (c < 0 || c >= static_cast<int>(m_cells.size()))
        return 0.0;
    const auto& row = m_cells[static_cast<size_t>(c)];
    return point >= 0 && point < static_cast<int>(row.size()) ? row[static_cast<size_t>(point)] : 0.0;
}

double CCavPcViewData::Level(double p2)
{
    return p2 > 0.0 ? 10.0 * std::log10(p2 * kInvP0Squared) : kNoLevel;
}

void CCavPcViewData::Compute(int view, int axis, int index)
{
    std::map<std::string, int> ticks;
    for (size_t c = 0; c < m_names.size(); ++c)
        ticks[m_names[c]] = m_selected[c];
    m_view = view;
    m_axis = axis == kAxisRpm ? kAxisRpm : kAxisFreq;
    m_index = index;
    m_names.clear();
    m_rows.clear();
    m_selected.clear();
    m_cells.clear();
    m_x.clear();
    m_total.clear();
    m_selectedSum.clear();
    const int points = m_axis == kAxisFreq ? GetBandCount() : GetRpmCount();
    const int limit = m_axis == kAxisFreq ? GetRpmCount() : GetBandCount();
    if (points <= 0 || index < 0 || index >= limit)
        return;
    for (int k = 0; k < points; ++k)
        m_x.push_back(m_axis == kAxisFreq ? GetBandFreq(k) : GetRpm(k));

    // A contributor stays when its power is not zero at any point of the axis, so one that feeds
    // only higher bands (or only some engine speeds) is not lost.
    const CHSEAPowerContribution* names = GetTable(m_axis == kAxisFreq ? index : 0);
    if (!names)
        return;
    const int rows = static_cast<int>(names->GetRowCountN()) + 1;
    for (int i = 0; i < rows; ++i) {
        bool any = false;
        for (int k = 0; k < points && !any; ++k) {
            const CHSEAPowerContribution* t = GetTable(m_axis == kAxisFreq ? index : k);
            const int band = m_axis == kAxisFreq ? k : index;
            any = t && band < t->GetDataCount() && t->CellValue(band, i, CHSEAPowerContribution::COL_POWER) != 0.0;
        }
        if (!any)
            continue;
        const std::string name = names->GetRowName(i);
        m_names.push_back(name);
        m_rows.push_back(i);
        auto it = ticks.find(name);
        m_selected.push_back(it == ticks.end() ? 1 : it->second);
    }
    m_cells.assign(m_names.size(), std::vector<double>(static_cast<size_t>(points), 0.0));
    m_total.assign(static_cast<size_t>(points), 0.0);
    m_selectedSum.assign(static_cast<size_t>(points), 0.0);
    if (m_view == kViewSpl)
        FillSpl();
    else
        FillShares();
}

void CCavPcViewData::FillShares()
{
    const int points = GetPointCount();
    for (int k = 0; k < points; ++k) {
        const int rpm = m_axis == kAxisFreq ? m_index : k;
        const int band = m_axis == kAxisFreq ? k : m_index;
        const CHSEAPowerContribution* t = GetTable(rpm);
        double spl = m_spl ? m_spl(rpm, band) : 0.0;
        if (!std::isfinite(spl))
            spl = 0.0;
        spl += AWeight(band);
        if (m_view == kViewShare)
            m_total[static_cast<size_t>(k)] = spl;
        for (size_t c = 0; c < m_names.size(); ++c) {
            const double v =
                t && band < t->GetDataCount() ? t->CellValue(band, m_rows[c], CHSEAPowerContribution::COL_RATE) : 0.0;
            double cell = kFloor;
            if (v > 0.0)
                cell = m_view == kViewRate ? v : spl * v * 0.01;
            m_cells[c][static_cast<size_t>(k)] = cell > kFloor ? cell : kFloor;
        }
    }
}

void CCavPcViewData::FillSpl()
{
    const int points = GetPointCount();
    for (int k = 0; k < points; ++k) {
        const int rpm = m_axis == kAxisFreq ? m_index : k;
        const int band = m_axis == kAxisFreq ? k : m_index;
        const CHSEAPowerContribution* t = GetTable(rpm);
        double eta = 0.0, freq = 0.0;
        const bool damped = m_damping && m_damping(rpm, band, eta, freq) && eta > 0.0 && freq > 0.0 && m_volume > 0.0;
        for (size_t c = 0; c < m_names.size(); ++c) {
            const double P =
                t && band < t->GetDataCount() ? t->CellValue(band, m_rows[c], CHSEAPowerContribution::COL_POWER) : 0.0;
            double& cell = m_cells[c][static_cast<size_t>(k)];
            if (P <= 0.0 || !damped) {
                cell = kNoLevel;
                continue;
            }
            const double p2 = P / kTwoPi / freq / eta * kRhoC2 / m_volume;
            cell = Level(p2) + AWeight(band);
            m_total[static_cast<size_t>(k)] += p2;
            if (m_selected[c])
                m_selectedSum[static_cast<size_t>(k)] += p2;
        }
        for (double* sum : {&m_total[static_cast<size_t>(k)], &m_selectedSum[static_cast<size_t>(k)]})
            *sum = *sum > 0.0 ? Level(*sum) + AWeight(band) : kNoLevel;
    }
}

std::vector<double> CCavPcViewData::GetDifference() const
{
    std::vector<double> diff(m_total.size(), kNoLevel);
    for (size_t k = 0; k < m_total.size() && k < m_selectedSum.size(); ++k) {
        if (m_total[k] <= kNoLevel || m_selectedSum[k] <= kNoLevel)
            continue;
        const double d = m_selectedSum[k] - m_total[k];
        diff[k] = std::fabs(d) < 0.1 ? 0.0 : d;
    }
    return diff;
}

int CCavPcViewData::GetGroupEnd() const
{
    const int n = GetContributorCount();
    if (n < 2 || !m_isStructure)
        return n;
    const bool first = m_isStructure(m_names[0]);
    for (int c = 1; c < n; ++c)
        if (m_isStructure(m_names[static_cast<size_t>(c)]) != first)
            return c - 1;
    return n;
}

std::vector<COLORREF> CCavPcViewData::GetColors(bool cumulative) const
{
    return MakeColors(GetContributorCount(), GetGroupEnd(), cumulative);
}

std::vector<COLORREF> CCavPcViewData::MakeColors(int count, int groupEnd, bool cumulative)
{
    std::vector<bool> saturated;
    for (int c = 0; c < count; ++c)
        saturated.push_back(c <= groupEnd);
    return MakeColors(saturated, cumulative);
}

std::vector<COLORREF> CCavPcViewData::MakeColors(const std::vector<bool>& saturated, bool cumulative)
{
    // Seeded anew for every drawing, so a contributor keeps its colour from redraw to redraw.
    CRand15 rand(2);
    std::vector<COLORREF> colors;
    for (bool full : saturated) {
        const int hue = static_cast<int>(rand.Next() * 300.0 / 32767.0 + 30.0);
        const uint8_t saturation = full ? 255 : (cumulative ? 32 : 80);
        COLORREF color = 0;
        HSVtoRGB(hue, saturation, 255, &color);
        colors.push_back(color);
    }
    return colors;
}

std::vector<std::vector<double>> CCavPcViewData::RunningSums(const std::vector<std::vector<double>>& cells)
{
    size_t points = 0;
    for (const auto& curve : cells)
        points = std::max(points, curve.size());
    std::vector<std::vector<double>> sums;
    std::vector<double> running(points, 0.0);
    for (const auto& curve : cells) {
        for (size_t k = 0; k < curve.size(); ++k)
            running[k] += curve[k];
        sums.push_back(running);
    }
    return sums;
}

int CCavPcViewData::HitTest(double x, double y) const
{
    return HitTest(m_cells, x, y);
}

int CCavPcViewData::HitTest(const std::vector<std::vector<double>>& cells, double x, double y)
{
    if (cells.empty() || !std::isfinite(x))
        return -1;
    const int k = static_cast<int>(std::trunc(x));
    const int points = static_cast<int>(cells[0].size());
    if (x < 0.0 || k + 1 >= points)
        return -1;
    const double t = x - k;
    double low = 0.0, high = 0.0;
    for (size_t c = 0; c < cells.size(); ++c) {
        low += cells[c][static_cast<size_t>(k)];
        high += cells[c][static_cast<size_t>(k) + 1];
        if (y < low + (high - low) * t)
            return static_cast<int>(c);
    }
    return -1;
}
