#include "SmallModel.h"

#include <memory>

#include "platform/elements/ElementType.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"

void FillSmallModel(CZuData& model, const SmallModelLayout& layout)
{
    const int bands = static_cast<int>(layout.density.size());
    CZuSubsystemTable table(layout.keys);
    model.SetSubsystemTable(&table);
    const CZuSubsystemTable* own = model.GetSubsystemTable();
    auto eta = std::make_unique<CZuMatFunc>("Eta", own, own, bands, &model, ElementType::EtaMatrix);
    auto n = std::make_unique<CZuVecFunc>("Modal Density", own, bands, &model, ElementType::ModalDensity);
    auto k = std::make_unique<CZuVecFunc>("Wave Number", own, bands, &model, ElementType::WaveNumber);
    const int count = static_cast<int>(layout.keys.size());
    for (int b = 0; b < bands; ++b) {
        eta->DataIndex(b) = n->DataIndex(b) = k->DataIndex(b) = model.GetFreq(b);
        for (int s = 0; s < count; ++s) {
            n->DataValue(b, s) = layout.density[b][s];
            k->DataValue(b, s) = 0.5 * (s + 1) * (b + 1);
            eta->DataValue(b, s, s) += layout.dlf[b][s] * layout.density[b][s];
        }
        for (const auto& [pair, values] : layout.clf) {
            const auto [s, t] = pair;
            const double p = layout.density[b][s] * values[b];
            eta->DataValue(b, t, s) -= p;
            eta->DataValue(b, s, s) += p;
        }
    }
    model.AddChild(std::move(eta));
    model.AddChild(std::move(n));
    model.AddChild(std::move(k));
}

SmallModelLayout ThreeSubsystemLayout()
{
    SmallModelLayout layout;
    layout.keys = {"Panel-R-F", "Panel-L-F", "Cabin-C-"};
    layout.density = {{0.1, 0.1, 2.0}, {0.2, 0.2, 3.0}, {0.3, 0.3, 4.0}};
    layout.dlf = {{0.01, 0.01, 0.001}, {0.02, 0.02, 0.002}, {0.03, 0.03, 0.003}};
    layout.clf[{0, 2}] = {0.004, 0.005, 0.006};
    layout.clf[{2, 0}] = {0.0002, 0.00025, 0.0003};
    layout.clf[{1, 2}] = {0.004, 0.005, 0.006};
    layout.clf[{2, 1}] = {0.0002, 0.00025, 0.0003};
    layout.clf[{0, 1}] = {0.001, 0.001, 0.001};
    layout.clf[{1, 0}] = {0.001, 0.001, 0.001};
    return layout;
}
