#include "calculation/SPLsFolder.h"

#include <cmath>

#include "calculation/RpmMapView.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OrderBand.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTMultiVecFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

IMPLEMENT_SERIAL(CSPLsFolder, CMElement, CSPLsFolder::kSchema | VERSIONABLE_SCHEMA)

CSPLsFolder::CSPLsFolder() = default;

CSPLsFolder::CSPLsFolder(const std::string& name, CMElement* parent, int kind) : CMElement(name, parent, kind) {}

CSPLsFolder::~CSPLsFolder() = default;

namespace {
// The first entry vector of a table by RPM or by order; null when it has none.
const CZuVecFunc* FirstVector(const CMElement* child, std::string& label)
{
    if (const auto* rpm = DynamicDowncast<CZuRpmMultiVecFunc>(child)) {
        label = rpm->GetLabel();
        return rpm->GetVecFunc(0);
    }
    if (const auto* ot = DynamicDowncast<CZuOTMultiVecFunc>(child)) {
        label = ot->GetLabel();
        const auto* first = dynamic_cast<const CZuRpmMultiVecFunc*>(ot->GetOrderEntry(0));
        return first ? first->GetVecFunc(0) : nullptr;
    }
    return nullptr;
}

std::unique_ptr<CMultiVectorFunction> NewEntry(double key, const CZuSubsystemTable& columns, int bands,
                                               CMElement* parent, const std::string& target)
{
    auto entry = std::make_unique<CMultiVectorFunction>(Format("%g", key), &columns, bands, parent, ElementType::Spl);
    entry->SetLabel(target);
    return entry;
}
} // namespace

CZuRpmSelFunc* CSPLsFolder::FindSPL(const std::string& target, const CZuSubsystemTable& table) const
{
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* child = dynamic_cast<CZuRpmSelFunc*>(GetChild(i));
        // A table by order keeps its entries per order, not per RPM.
        const auto* byOrder = DynamicDowncast<CZuOTMultiVecFunc>(child);
        if (!child || (byOrder ? byOrder->GetOrderCount() : child->GetRpmCount()) == 0)
            continue;
        std::string label;
        const CZuVecFunc* first = FirstVector(child, label);
        if (!first || label != target)
            continue;
        bool all = true;
        for (int k = 0; k < table.GetCount() && all; ++k)
            all = first->GetIndex(table[k]) >= 0;
        if (all)
            return child;
    }
    return nullptr;
}

std::unique_ptr<CZuRpmMultiVecFunc> CSPLsFolder::BuildRpmTable(const std::string& target, const std::string& title,
                                                               const CZuSubsystemTable& columns,
                                                               const std::vector<const CMElement*>& spls)
{
    if (target.empty() || spls.empty() || columns.GetCount() == 0 ||
        columns.GetCount() != static_cast<int>(spls.size()))
        return nullptr;
    std::vector<CRpmMapView> views;
    for (const CMElement* spl : spls) {
        views.emplace_back(spl);
        if (!views.back().IsValid())
            return nullptr;
    }
    const CRpmMapView& first = views.front();
    const int bands = first.GetFreqCount();
    auto table = std::make_unique<CZuRpmMultiVecFunc>(title, nullptr, ElementType::SplTable);
    table->SetLabel(target);
    for (int r = 0; r < first.GetRpmCount(); ++r) {
        const double rpm = first.GetRpm(r);
        auto entry = NewEntry(rpm, columns, bands, table.get(), target);
        for (int b = 0; b < bands; ++b)
            entry->DataIndex(b) = first.GetFreq(b);
        for (size_t k = 0; k < views.size(); ++k)
            for (int b = 0; b < bands; ++b) {
                double value = HUGE_VAL;
                if (!views[k].Value(r, b, value))
                    value = HUGE_VAL;
                entry->DataValue(b, static_cast<int>(k)) = value;
            }
        table->AddRpmData(rpm, std::move(entry));
    }
    return table;
}

std::unique_ptr<CZuOTMultiVecFunc> CSPLsFolder::BuildOrderTable(const std::string& target, const std::string& title,
                                                                const CZuSubsystemTable& columns,
                                                                const std::vector<const CZuOTFunc*>& spls,
                                                                double factor, const COctaveManager* bands)
{
    if (target.empty() || spls.empty() || columns.GetCount() == 0 ||
        columns.GetCount() != static_cast<int>(spls.size()))
        return nullptr;
    for (const CZuOTFunc* spl : spls)
        if (!spl)
            return nullptr;
    const CZuOTFunc& first = *spls.front();
    auto table = std::make_unique<CZuOTMultiVecFunc>(title, nullptr, ElementType::SplTable);
    table->SetLabel(target);
    table->SetDaqConfigFactor(static_cast<float>(factor));
    for (int o = 0; o < first.GetOrderCount(); ++o) {
        const double order = first.GetOrder(o);
        const CZuRpmFunc* map = first.GetOrderFunc(o);
        if (!map)
            return nullptr;
        auto perOrder = std::make_unique<CZuRpmMultiVecFunc>(Format("%g", order), nullptr, ElementType::SplTable);
        perOrder->SetLabel(target);
        const int bandCount = map->GetFreqCount();
        for (int r = 0; r < map->GetRpmCount(); ++r) {
            const double rpm = map->GetRpm(r);
            auto entry = NewEntry(rpm, columns, bandCount, perOrder.get(), target);
            for (int b = 0; b < bandCount; ++b) {
                entry->DataIndex(b) = map->GetFreq(b);
                for (int k = 0; k < columns.GetCount(); ++k)
                    entry->DataValue(b, k) = HUGE_VAL;
            }
            const int band = GetOrderBandIndexInt(rpm, order, factor, bands);
            if (band >= 0 && band < bandCount)
                for (size_t k = 0; k < spls.size(); ++k) {
                    const CZuRpmFunc* other = o < spls[k]->GetOrderCount() ? spls[k]->GetOrderFunc(o) : nullptr;
                    if (other && r < other->GetRpmCount() && band < other->GetFreqCount())
                        entry->DataValue(band, static_cast<int>(k)) = other->DataValue(r, band);
                }
            perOrder->AddRpmData(rpm, std::move(entry));
        }
        table->AddOrder(order, std::move(perOrder));
    }
    return table;
}

void CSPLsFolder::Serialize(CArchive& ar)
{
    if (ar.IsLoading()) {
        const uint32_t stored = ar.GetObjectSchema();
        if (stored != 0xFFFFFFFFu && stored > kSchema)
            CArchive::ThrowBadSchema(Format("SPL folder of schema %u", stored));
    }
    CMElement::Serialize(ar);
}
