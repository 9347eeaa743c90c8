#include "spectral/RpmManager.h"

#include <algorithm>

#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

CRpmManager::CRpmManager(const CRPMOptions* options)
{
    if (options)
        options->MakeRpmArrayD(m_rpms);
}

CRpmManager::Bracket CRpmManager::FindBracket(const std::vector<double>& rpms, double r, int& pos)
{
    Bracket b;
    const int n = static_cast<int>(rpms.size());
    if (n == 0)
        return b;
    if (rpms[0] > r) {
        b.lo = 0;
        return b;
    }
    if (rpms[static_cast<size_t>(n - 1)] <= r) {
        b.lo = n - 1; // above the range, or the last row itself
        return b;
    }
    int p = std::clamp(pos, 0, n - 1);
    while (p > 0 && rpms[static_cast<size_t>(p)] > r)
        --p;
    while (p + 1 < n && !(rpms[static_cast<size_t>(p)] <= r && r < rpms[static_cast<size_t>(p + 1)]))
        ++p;
    if (p + 1 >= n) {
        // No bracketing pair (an axis that is not ascending): hold the last row.
        b.lo = n - 1;
        pos = n - 1;
        return b;
    }
    const double r0 = rpms[static_cast<size_t>(p)], r1 = rpms[static_cast<size_t>(p + 1)];
    b.lo = p;
    b.hi = p + 1;
    b.t = (r - r0) / (r1 - r0);
    pos = p + 1;
    return b;
}

std::unique_ptr<CZuRpmFunc> CRpmManager::CreateRpmFunc(const CZuRpmFunc* src) const
{
    if (!src)
        return nullptr;
    const int freqCount = src->GetFreqCount();
    auto map = std::make_unique<CZuRpmFunc>(src->GetName(), freqCount, nullptr, src->GetType());
    for (int k = 0; k < freqCount; ++k)
        map->SetFreq(k, src->GetFreq(k));
    map->SetLabel(src->GetLabel());
    if (src->GetRpmCount() == 0)
        return map; // nothing to resample from
    const std::vector<double>& srcRpms = src->GetRpmArray();
    int pos = 0;
    for (double r : m_rpms) {
        CZuFunc* row = map->AddRow(r);
        const Bracket b = FindBracket(srcRpms, r, pos);
        for (int k = 0; k < freqCount; ++k) {
            const double v0 = src->DataValue(b.lo, k);
            row->DataValue(k) = b.hi < 0 ? v0 : v0 + (src->DataValue(b.hi, k) - v0) * b.t;
        }
    }
    return map;
}

std::unique_ptr<CMultiVectorFunction> CRpmManager::CreateSubsystemTable(const CZuVecFunc* src) const
{
    if (!src)
        return nullptr;
    CZuSubsystemTable table;
    for (int k = 0; k < src->GetSubsystemCount(); ++k)
        table.Add(src->GetSubsystem(k));
    const int n = static_cast<int>(m_rpms.size());
    auto out = std::make_unique<CMultiVectorFunction>(src->GetName(), &table, n, nullptr, src->GetType());
    out->Empty();
    out->SetDataIndexArray(m_rpms);
    if (const auto* multi = dynamic_cast<const CMultiVectorFunction*>(src))
        out->SetLabel(multi->GetLabel());
    const std::vector<double>& srcRpms = src->GetDataIndexArray();
    if (srcRpms.empty())
        return out;
    int pos = 0;
    for (int j = 0; j < n; ++j) {
        const Bracket b = FindBracket(srcRpms, m_rpms[static_cast<size_t>(j)], pos);
        for (int k = 0; k < table.GetCount(); ++k) {
            const double v0 = src->DataValue(b.lo, k);
            out->DataValue(j, k) = b.hi < 0 ? v0 : v0 + (src->DataValue(b.hi, k) - v0) * b.t;
        }
    }
    return out;
}
