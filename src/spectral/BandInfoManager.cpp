#include "spectral/BandInfoManager.h"

#include "platform/gfx/OctaveManager.h"

#include <cmath>
#include <cstdint>

namespace {

// First line k in [0, lines] with k*df >= f (lines when none), with the comparison made on k*df
// exactly as the band test makes it.
int64_t FirstLineAtOrAbove(double f, double df, int64_t lines)
{
    if (!(f > 0.0))
        return 0; // also NaN: line 0 then decides through the band test itself
    const double guess = std::ceil(f / df);
    if (!(guess < double(lines)))
        return lines;
    int64_t k = int64_t(guess);
    while (k > 0 && double(k - 1) * df >= f)
        --k;
    while (k < lines && double(k) * df < f)
        ++k;
    return k;
}

} // namespace

CBandInfoManager::CBandInfoManager() = default;

CBandInfoManager::~CBandInfoManager() = default;

int CBandInfoManager::CreateBandInfoList()
{
    m_list.clear();
    if (!(m_df > 0.0) || m_lineCount < 1 || !m_bands)
        return 0;
    const int bands = m_bands->GetFreqCount();
    m_list.resize(size_t(bands < 0 ? 0 : bands));
    const int64_t lines = m_lineCount;
    for (int b = 0; b < bands; ++b) {
        tagBandInfo& info = m_list[size_t(b)];
        info.dCentre = m_bands->GetFreq(b);
        const double lo = m_bands->GetLowerFreq(b);
        const double hi = m_bands->GetUpperFreq(b);
        // k*df grows with k, so the lines of a band are one run: from the first line at or above
        // the lower edge to the first line at or above the upper edge.
        const int64_t first = FirstLineAtOrAbove(lo, m_df, lines);
        int64_t end = FirstLineAtOrAbove(hi, m_df, lines);
        if (std::isnan(lo) || std::isnan(hi))
            end = first;
        if (end > first) {
            info.nFirstLine = int(first);
            info.nLineCount = int(end - first);
        } else {
            info.nFirstLine = -1;
            info.nLineCount = 0;
        }
    }
    return 1;
}

int CBandInfoManager::UpdateBandInfoList()
{
    return CreateBandInfoList();
}

int CBandInfoManager::FindBand(double f) const
{
    if (!(m_df > 0.0) || m_lineCount < 1 || m_list.empty() || !m_bands)
        return -1;
    const int bands = m_bands->GetFreqCount();
    for (int b = 0; b < bands; ++b) {
        if (m_bands->GetLowerFreq(b) <= f && f < m_bands->GetUpperFreq(b))
            return FindBandByCentre(m_bands->GetFreq(b));
    }
    return -1;
}

int CBandInfoManager::FindBandByCentre(double centre) const
{
    for (size_t i = 0; i < m_list.size(); ++i) {
        if (m_list[i].dCentre == centre)
            return int(i);
    }
    return -1;
}
