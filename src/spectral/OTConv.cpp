#include "spectral/OTConv.h"

#include <vector>

#include "platform/gfx/OctaveManager.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderBand.h"
#include "spectral/ZuOTFunc.h"

std::unique_ptr<CZuOTFunc> COTConv::Convert(CMElement* src) const
{
    auto* table = DynamicDowncast<COTMultiVecFunc>(src);
    if (!table)
        return nullptr;
    std::vector<double> freqs;
    if (m_bands)
        freqs = m_bands->GetFreqArray();
    const std::vector<double>& rpms = table->GetDataIndexArray();
    const COrderList& orders = table->GetOrderList();
    std::unique_ptr<CZuOTFunc> map = CZuOTFunc::BuildOTFunc(table->GetName(), 5, table->GetParent(), table->GetLabel(),
                                                            freqs.data(), static_cast<int>(freqs.size()), rpms.data(),
                                                            static_cast<int>(rpms.size()), orders.Values(), m_factor);
    if (!map || !m_bands)
        return map;
    for (int o = 0; o < map->GetOrderCount() && o < table->GetSubsystemCount(); ++o) {
        CZuRpmFunc* orderMap = map->GetOrderFunc(o);
        for (int r = 0; r < static_cast<int>(rpms.size()); ++r) {
            const int band = GetOrderBandIndexInt(rpms[static_cast<size_t>(r)], orders[o], m_factor, m_bands);
            if (band >= 0 && band < orderMap->GetFreqCount())
                orderMap->DataValue(r, band) = table->DataValue(r, o);
        }
    }
    return map;
}
