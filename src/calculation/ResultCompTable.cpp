#include "calculation/ResultCompTable.h"

#include <cmath>

#include "calculation/RpmMapView.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OrderBand.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

namespace {

std::unique_ptr<CZuRpmMultiVecFunc> NewTable(int kind, const std::string& label)
{
    const bool spl = kind == ElementType::Spl;
    auto table = std::make_unique<CZuRpmMultiVecFunc>(
        FormatString(spl ? IDS_SPL_COMPARISON : IDS_VIBRATION_COMPARISON, label.c_str()), nullptr,
        spl ? ElementType::SplResultComparison : ElementType::VibrationResultComparison);
    table->SetLabel(label);
    return table;
}

std::unique_ptr<CMultiVectorFunction> NewEntry(double key, int points, int kind, const std::string& label,
                                               const CResultCompTable::Columns& columns)
{
    CZuSubsystemTable names;
    names.Add(columns.second);
    names.Add(columns.first);
    auto entry = std::make_unique<CMultiVectorFunction>(Format("%g", key), &names, points, nullptr, kind);
    entry->SetLabel(label);
    return entry;
}
} // namespace

std::string CResultCompTable::ColumnName(const std::string& resultSet, const std::string& project)
{
    return Format("%s(%s)", resultSet.c_str(), project.c_str());
}

std::unique_ptr<CZuRpmMultiVecFunc> CResultCompTable::BuildRpm(const CMElement* first, const CMElement* second,
                                                               const Columns& columns)
{
    const CRpmMapView f1(first);
    const CRpmMapView f2(second);
    if (!f1.IsValid() || !f2.IsValid())
        return nullptr;
    const int kind = first->GetType();
    if (kind != ElementType::Spl && kind != ElementType::VibrationLevel)
        return nullptr;
    const std::string label = f1.GetLabel();
    auto table = NewTable(kind, label);
    const int points = f1.GetFreqCount();
    for (int r = 0; r < f1.GetRpmCount(); ++r) {
        const double rpm = f1.GetRpm(r);
        auto entry = NewEntry(rpm, points, kind, label, columns);
        const int row2 = f2.FindRpmIndex(rpm);
        for (int j = 0; j < points; ++j) {
            entry->DataIndex(j) = f1.GetFreq(j);
            double value = HUGE_VAL;
            entry->DataValue(j, 0) = row2 >= 0 && f2.Value(row2, j, value) ? value : HUGE_VAL;
            entry->DataValue(j, 1) = f1.Value(r, j, value) ? value : HUGE_VAL;
        }
        table->AddRpmData(rpm, std::move(entry));
    }
    return table;
}

std::unique_ptr<CZuRpmMultiVecFunc> CResultCompTable::BuildOrder(const CZuOTFunc* first, const CZuOTFunc* second,
                                                                 const Columns& columns, double factor,
                                                                 const COctaveManager* bands)
{
    if (!first || !second || first->GetOrderCount() == 0 || !first->GetOrderFunc(0))
        return nullptr;
    const int kind = first->GetType();
    if (kind != ElementType::Spl && kind != ElementType::VibrationLevel)
        return nullptr;
    const std::string label = first->GetLabel();
    auto table = NewTable(kind, label);
    const CZuRpmFunc* axis = first->GetOrderFunc(0);
    const int points = axis->GetRpmCount();
    for (int o = 0; o < first->GetOrderCount(); ++o) {
        const double order = first->GetOrder(o);
        const CZuRpmFunc* map1 = first->GetOrderFunc(o);
        // Orders are matched by position, as both results come from the same order list.
        const CZuRpmFunc* map2 = o < second->GetOrderCount() ? second->GetOrderFunc(o) : nullptr;
        auto entry = NewEntry(order, points, kind, label, columns);
        for (int j = 0; j < points; ++j) {
            const double rpm = axis->GetRpm(j);
            entry->DataIndex(j) = rpm;
            const int band = GetOrderBandIndexInt(rpm, order, factor, bands);
            double v1 = HUGE_VAL;
            if (map1 && band >= 0 && j < map1->GetRpmCount() && band < map1->GetFreqCount())
                v1 = map1->DataValue(j, band);
            double v2 = HUGE_VAL;
            const int row2 = map2 ? map2->FindRpmIndex(rpm) : -1;
            if (row2 >= 0 && band >= 0 && band < map2->GetFreqCount())
                v2 = map2->DataValue(row2, band);
            entry->DataValue(j, 0) = v2;
            entry->DataValue(j, 1) = v1;
        }
        table->AddRpmData(order, std::move(entry));
    }
    return table;
}
