#include "views/StAcSplBySingleIPData.h"

#include "platform/elements/ZuVecFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

#include <cmath>

void CStAcSplBySingleIPData::SetTable(const CZuRpmMultiVecFunc* spl, const KindTest& isStructure,
                                      const KindTest& isAcoustic)
{
    m_rows.clear();
    m_rpms.clear();
    m_freqs.clear();
    m_selected = -1;
    const CZuVecFunc* first = spl && spl->GetRpmCount() > 0 ? spl->GetVecFunc(0) : nullptr;
    if (!first)
        return;
    for (int r = 0; r < spl->GetRpmCount(); ++r)
        m_rpms.push_back(spl->GetRpm(r));
    for (int b = 0; b < first->GetDataCount(); ++b)
        m_freqs.push_back(first->DataIndex(b));
    struct Group
    {
        const char* name;
        const char* key;
        COLORREF color;
    };
    const Group groups[] = {
        {"Structure", "ST", RGB(0, 0, 128)}, {"Acoustic", "AC", RGB(255, 0, 255)}, {"O.A.", "All", RGB(0, 128, 0)}};
    for (const Group& g : groups) {
        CDataStruct row;
        row.name = g.name;
        row.key = g.key;
        row.baseColor = row.drawnColor = g.color;
        // Energetic sums: the levels become p^2 / p0^2, add, and go back to dB.
        row.map.assign(m_rpms.size(), std::vector<double>(m_freqs.size(), 0.0));
        for (int r = 0; r < spl->GetRpmCount(); ++r) {
            const CZuVecFunc* entry = spl->GetVecFunc(r);
            if (!entry)
                continue;
            for (int s = 0; s < entry->GetSubsystemCount(); ++s) {
                const std::string name = entry->GetSubsystem(s);
                const std::string key = g.key;
                const bool member = key == "All" || (key == "ST" && isStructure && isStructure(name)) ||
                                    (key == "AC" && isAcoustic && isAcoustic(name));
                if (!member)
                    continue;
                for (int b = 0; b < entry->GetDataCount() && b < GetBandCount(); ++b) {
                    const double level = entry->DataValue(b, s);
                    if (std::isfinite(level))
                        row.map[static_cast<size_t>(r)][static_cast<size_t>(b)] += std::pow(10.0, 0.1 * level);
                }
            }
        }
        for (auto& rpmRow : row.map)
            for (double& cell : rpmRow)
                cell = cell != 0.0 ? 10.0 * std::log10(cell) : HUGE_VAL;
        m_rows.push_back(std::move(row));
    }
}

void CStAcSplBySingleIPData::Compute(int axis, int position)
{
    m_axis = axis == 1 ? 1 : 0;
    m_position = position;
    const int count = m_axis == 0 ? GetBandCount() : GetRpmCount();
    const bool inside = position >= 0 && position < GetPositionCount(m_axis);
    for (CDataStruct& row : m_rows) {
        row.values.assign(static_cast<size_t>(inside ? count : 0), HUGE_VAL);
        for (int k = 0; inside && k < count; ++k)
            row.values[static_cast<size_t>(k)] = m_axis == 0
                                                     ? row.map[static_cast<size_t>(position)][static_cast<size_t>(k)]
                                                     : row.map[static_cast<size_t>(k)][static_cast<size_t>(position)];
        row.drawnColor =
            m_selected < 0 || &row == &m_rows[static_cast<size_t>(m_selected)] ? row.baseColor : RGB(128, 128, 128);
    }
}

void CStAcSplBySingleIPData::SelectRow(int row)
{
    m_selected = row >= 0 && row < static_cast<int>(m_rows.size()) ? row : -1;
    Compute(m_axis, m_position);
}
