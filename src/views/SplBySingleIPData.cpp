#include "views/SplBySingleIPData.h"

#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmMultiVecFunc.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr double kP0Squared = 4e-10;
} // namespace

void CSplBySingleIPData::SetTable(const CZuRpmMultiVecFunc* energies, const KindTest& isStructure)
{
    m_rows.clear();
    m_rpms.clear();
    m_freqs.clear();
    m_selection.clear();
    m_sources = 0;
    const CZuVecFunc* first = energies && energies->GetRpmCount() > 0 ? energies->GetVecFunc(0) : nullptr;
    if (first) {
        for (int r = 0; r < energies->GetRpmCount(); ++r)
            m_rpms.push_back(energies->GetRpm(r));
        for (int b = 0; b < first->GetDataCount(); ++b)
            m_freqs.push_back(first->DataIndex(b));
        for (int s = 0; s < first->GetSubsystemCount(); ++s) {
            CDataStruct row;
            row.name = first->GetSubsystem(s);
            row.structure = isStructure && isStructure(row.name);
            row.map.assign(m_rpms.size(), std::vector<double>(m_freqs.size(), 0.0));
            for (int r = 0; r < energies->GetRpmCount(); ++r) {
                const CZuVecFunc* entry = energies->GetVecFunc(r);
                const int column = entry ? entry->GetIndex(row.name) : -1;
                if (column < 0)
                    continue;
                const int bands = std::min(entry->GetDataCount(), GetBandCount());
                for (int b = 0; b < bands; ++b)
                    row.map[static_cast<size_t>(r)][static_cast<size_t>(b)] = entry->DataValue(b, column);
            }
            m_rows.push_back(std::move(row));
        }
    }
    m_sources = static_cast<int>(m_rows.size());
    CDataStruct overall;
    overall.name = kOverall;
    overall.style = 6;
    overall.baseColor = overall.drawnColor = kRed;
    m_rows.push_back(overall);
    CDataStruct excluding;
    excluding.name = kOverallExcluding;
    excluding.shown = 0;
    excluding.style = 2;
    excluding.baseColor = excluding.drawnColor = kRed;
    m_rows.push_back(excluding);
    m_axis = 0;
    m_position = 0;
}

void CSplBySingleIPData::SetVolume(double volume)
{
    m_levelFactor = volume > 0.0 ? kRhoC2 / volume / kP0Squared : 0.0;
}

double CSplBySingleIPData::Level(double energy) const
{
    const double x = energy * m_levelFactor;
    return x > 0.0 ? 10.0 * std::log10(x) : kNoLevel;
}

void CSplBySingleIPData::Compute(int axis, int position)
{
    m_axis = axis == 1 ? 1 : 0;
    m_position = position;
    const int count = m_axis == 0 ? GetBandCount() : GetRpmCount();
    const bool inside = position >= 0 && position < GetPositionCount(m_axis);
    for (CDataStruct& row : m_rows) {
        row.values.assign(static_cast<size_t>(inside ? count : 0), 0.0);
        if (!row.HasMap() || !inside)
            continue;
        for (int k = 0; k < count; ++k)
            row.values[static_cast<size_t>(k)] = m_axis == 0
                                                     ? row.map[static_cast<size_t>(position)][static_cast<size_t>(k)]
                                                     : row.map[static_cast<size_t>(k)][static_cast<size_t>(position)];
    }
    if (m_rows.size() < 2)
        return;
    auto& overall = m_rows[static_cast<size_t>(OverallRow())].values;
    auto& excluding = m_rows[static_cast<size_t>(ExcludingRow())].values;
    for (int i = 0; i < m_sources; ++i) {
        const bool selected = std::find(m_selection.begin(), m_selection.end(), i) != m_selection.end();
        const auto& values = m_rows[static_cast<size_t>(i)].values;
        for (size_t k = 0; k < values.size(); ++k) {
            overall[k] += values[k];
            if (!selected)
                excluding[k] += values[k];
        }
    }
    m_rows[static_cast<size_t>(ExcludingRow())].shown = m_selection.empty() ? 0 : 1;
    Recolor();
}

void CSplBySingleIPData::Recolor()
{
    for (int i = 0; i < m_sources; ++i) {
        CDataStruct& row = m_rows[static_cast<size_t>(i)];
        const bool selected = std::find(m_selection.begin(), m_selection.end(), i) != m_selection.end();
        row.drawnColor = m_selection.empty() || selected ? row.baseColor : kGrey;
    }
}

void CSplBySingleIPData::Select(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    if (std::find(m_selection.begin(), m_selection.end(), row) == m_selection.end())
        m_selection.push_back(row);
    Compute(m_axis, m_position);
}

void CSplBySingleIPData::ClearSelection()
{
    m_selection.clear();
    Compute(m_axis, m_position);
}

double CSplBySingleIPData::NetFactor(bool structure, int point) const
{
    double pos = 0.0, neg = 0.0;
    for (int i = 0; i < m_sources; ++i) {
        const CDataStruct& row = m_rows[static_cast<size_t>(i)];
        if (row.structure != structure || point < 0 || point >= static_cast<int>(row.values.size()))
            continue;
        const double v = row.values[static_cast<size_t>(point)];
        if (v > 0.0)
            pos += v;
        else
            neg += -v;
    }
    return pos == 0.0 ? 0.0 : 1.0 - neg / pos;
}

std::vector<std::vector<double>> CSplBySingleIPData::StackedCells(int view) const
{
    std::vector<std::vector<double>> cells;
    if (m_rows.size() < 2)
        return cells;
    const auto& overall = m_rows[static_cast<size_t>(OverallRow())].values;
    for (int i = 0; i < m_sources; ++i) {
        const CDataStruct& row = m_rows[static_cast<size_t>(i)];
        std::vector<double> cell(row.values.size(), kFloor);
        for (size_t k = 0; k < row.values.size(); ++k) {
            // A share of nothing is no share: an overall sum that is not positive gives the floor.
            if (k >= overall.size() || overall[k] <= 0.0)
                continue;
            const double s = NetFactor(row.structure, static_cast<int>(k)) * row.values[k] / overall[k];
            double v = view == 0 ? s * Level(overall[k]) : s * 100.0;
            if (view == 0 && Level(overall[k]) <= kNoLevel)
                v = kFloor;
            cell[k] = v > kFloor ? v : kFloor;
        }
        cells.push_back(std::move(cell));
    }
    return cells;
}

std::unique_ptr<CZuRpmMultiVecFunc> CSplBySingleIPData::EnergiesFromSpl(const CZuRpmMultiVecFunc& spl, double volume)
{
    auto table = std::make_unique<CZuRpmMultiVecFunc>(spl.GetName(), nullptr, spl.GetType());
    table->SetLabel(spl.GetLabel());
    for (int r = 0; r < spl.GetRpmCount(); ++r) {
        const CZuVecFunc* levels = spl.GetVecFunc(r);
        if (!levels)
            continue;
        auto entry = std::make_unique<CMultiVectorFunction>(Format("%g", spl.GetRpm(r)), &levels->GetSubsystemTable(),
                                                            levels->GetDataCount(), table.get(), levels->GetType());
        for (int b = 0; b < levels->GetDataCount(); ++b) {
            entry->DataIndex(b) = levels->DataIndex(b);
            for (int s = 0; s < levels->GetSubsystemCount(); ++s) {
                const double level = levels->DataValue(b, s);
                double energy = 0.0;
                if (std::isfinite(level) && volume > 0.0)
                    energy = std::pow(10.0, level / 10.0) * kP0Squared * volume / kRhoC2;
                entry->DataValue(b, s) = energy;
            }
        }
        table->AddRpmData(spl.GetRpm(r), std::move(entry));
    }
    return table;
}
