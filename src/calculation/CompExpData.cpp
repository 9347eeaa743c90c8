#include "calculation/CompExpData.h"

#include <algorithm>
#include <cmath>

#include "calculation/AnalysisProjectAccess.h"
#include "calculation/RpmMapView.h"
#include "experiments/AveExpData.h"
#include "experiments/DAQConfig.h"
#include "experiments/DaqProjectAccess.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

namespace {
constexpr double kPressureReference = 2.0e-5;
constexpr double kVelocityReference = 1.0;

std::unique_ptr<CMultiVectorFunction> NewPair(double key, int points, int kind, const std::string& subsystem)
{
    CZuSubsystemTable rows;
    rows.Add("Exp");
    rows.Add("Calc");
    auto pair = std::make_unique<CMultiVectorFunction>(Format("%g", key), &rows, points, nullptr, kind);
    pair->SetLabel(subsystem);
    return pair;
}
} // namespace

CCompExpData::CCompExpData() = default;
CCompExpData::~CCompExpData() = default;

double CCompExpData::MeasuredLevel(double value, double reference)
{
    return value > 0.0 && reference > 0.0 ? 20.0 * std::log10(value / reference) : HUGE_VAL;
}

double CCompExpData::Reference(const std::string& subsystem) const
{
    std::string name = subsystem;
    const int kind = m_project ? m_project->CompleteSubsystemName(name) : -1;
    return kind >= 5 ? kPressureReference : kVelocityReference;
}

std::unique_ptr<CZuRpmMultiVecFunc> CCompExpData::NewComparison(const std::string& subsystem) const
{
    const bool spl = m_func->GetType() == ElementType::Spl;
    auto comparison = std::make_unique<CZuRpmMultiVecFunc>(
        FormatString(spl ? IDS_SPL_COMPARISON : IDS_VIBRATION_COMPARISON, subsystem.c_str()), nullptr,
        spl ? ElementType::SplComparison : ElementType::VibrationComparison);
    comparison->SetLabel(subsystem);
    return comparison;
}

std::unique_ptr<CZuRpmMultiVecFunc> CCompExpData::CreateRpmComparison(CFeedback* feedback)
{
    const CRpmMapView calc(m_func);
    if (!calc.IsValid() || !m_project)
        return nullptr;
    std::string subsystem = calc.GetLabel();
    CGfxUtil::RemoveWaveSign(subsystem);

    IDaqProjectAccess* daq = m_project->GetDaqProjectAccess();
    if (!daq)
        return nullptr;
    CAveExpData averaging(daq);
    std::unique_ptr<CZuRpmFunc> measured = averaging.AverageRpmFuncs(subsystem, nullptr, 1, nullptr, feedback);
    if (!measured)
        return nullptr;
    const float margin = m_project->GetInputEnergyRpmMargin();
    const CDAQConfig* config = daq->GetDAQConfig();
    const int step = config ? config->GetRpmMargin() : 50;
    // A configuration without an RPM step of its own cannot say how many rows the margin spans.
    if (margin > 0.0f && step > 0)
        measured->SetSmoothingWidth(static_cast<int>(margin / static_cast<float>(step)));

    // Rows of the measured map are frequencies, its table index an RPM row.
    measured->SetAxisFlag(0);
    const double reference = Reference(subsystem);
    auto comparison = NewComparison(subsystem);
    const int points = calc.GetFreqCount();
    for (int i = 0; i < calc.GetRpmCount(); ++i) {
        const double rpm = calc.GetRpm(i);
        auto pair = NewPair(rpm, points, m_func->GetType(), subsystem);
        for (int j = 0; j < points; ++j)
            pair->DataIndex(j) = calc.GetFreq(j);
        const int k = measured->FindRpmIndex(rpm);
        for (int j = 0; j < points; ++j) {
            const double m = k >= 0 && j < measured->GetFreqCount() ? measured->GetSmoothedValue(k, j) : 0.0;
            pair->DataValue(j, 0) = MeasuredLevel(m, reference);
            double value = HUGE_VAL;
            pair->DataValue(j, 1) = calc.Value(i, j, value) ? value : HUGE_VAL;
        }
        comparison->AddRpmData(rpm, std::move(pair));
    }
    return comparison;
}

std::unique_ptr<CZuRpmMultiVecFunc> CCompExpData::CreateOrderComparison()
{
    const auto* calc = DynamicDowncast<CZuOTFunc>(m_func);
    if (!calc || !m_project || calc->GetOrderCount() == 0 || !calc->GetOrderFunc(0))
        return nullptr;
    std::string subsystem = calc->GetLabel();
    CGfxUtil::RemoveWaveSign(subsystem);

    IDaqProjectAccess* daq = m_project->GetDaqProjectAccess();
    if (!daq)
        return nullptr;
    CAveExpData averaging(daq);
    std::unique_ptr<CZuOTFunc> measured = averaging.AverageRpmVecFuncs(subsystem, nullptr, 1);
    if (!measured)
        return nullptr;

    const double reference = Reference(subsystem);
    const double factor = m_project->GetDaqConfigValue();
    const COctaveManager* bands = m_project->GetOctaveManager();
    // The measured values in the band of each order frequency become levels.
    for (int o = 0; o < measured->GetOrderCount(); ++o) {
        CZuRpmFunc* map = measured->GetOrderFunc(o);
        for (int r = 0; map && r < map->GetRpmCount(); ++r) {
            const int band = GetOrderBandIndex(map->GetRpm(r), measured->GetOrder(o), factor, bands);
            if (band >= 0 && band < map->GetFreqCount())
                map->DataValue(r, band) = MeasuredLevel(map->DataValue(r, band), reference);
        }
    }

    auto comparison = NewComparison(subsystem);
    const CZuRpmFunc* axis = calc->GetOrderFunc(0);
    const int columns = axis->GetRpmCount();
    // Orders beyond what the calculation holds have nothing to pair.
    const int orders = std::min(m_project->GetOrderList().GetSize(), calc->GetOrderCount());
    for (int o = 0; o < orders; ++o) {
        const double order = calc->GetOrder(o);
        const CZuRpmFunc* calcMap = calc->GetOrderFunc(o);
        const CZuRpmFunc* expMap = o < measured->GetOrderCount() ? measured->GetOrderFunc(o) : nullptr;
        const double expOrder = expMap ? measured->GetOrder(o) : 0.0;
        auto pair = NewPair(order, columns, m_func->GetType(), subsystem);
        for (int c = 0; c < columns; ++c) {
            const double rpm = axis->GetRpm(c);
            pair->DataIndex(c) = rpm;
            double calcValue = HUGE_VAL;
            const int band = GetOrderBandIndex(rpm, order, factor, bands);
            if (calcMap && band >= 0 && c < calcMap->GetRpmCount() && band < calcMap->GetFreqCount())
                calcValue = calcMap->DataValue(c, band);
            double expValue = HUGE_VAL;
            if (expMap) {
                const int expBand = GetOrderBandIndex(rpm, expOrder, factor, bands);
                const int row = expMap->FindRpmIndex(rpm);
                if (expBand >= 0 && row >= 0 && expBand < expMap->GetFreqCount())
                    expValue = expMap->DataValue(row, expBand);
            }
            pair->DataValue(c, 0) = expValue;
            pair->DataValue(c, 1) = calcValue;
        }
        comparison->AddRpmData(order, std::move(pair));
    }
    return comparison;
}
