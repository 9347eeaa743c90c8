#include "common/Quantity.h"

#include "common/AWeighting.h"

#include "platform/elements/MElement.h"
#include "platform/gfx/GfxCalc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/StringTable.h"

#include <cmath>

namespace {
constexpr double kRefPressure = 2e-5;

int TypeOf(const CMElement* element)
{
    return element ? element->GetType() : -1;
}

bool InRange(int type)
{
    return type >= kFirstQuantityType && type <= kLastQuantityType;
}

// A value that stands for no level: 0, HUGE_VAL (and NaN, which no level can be).
bool IsMissing(double value)
{
    return value == 0.0 || value == HUGE_VAL || std::isnan(value);
}

double AWeighted(double f, double level)
{
    return AWeightingDB(f, level);
}

double PressureDb(double value, double aWeightFreq)
{
    const double db = CGfxCalc::GetPressureDecibel(value, kRefPressure);
    return aWeightFreq > 0.0 ? AWeighted(aWeightFreq, db) : db;
}
} // namespace

bool IsPressureOrVelocityType(int type)
{
    return type == ElementType::SpectrumMap || type == ElementType::OrderLevels || type == ElementType::ChannelLevels ||
           type == ElementType::OrderData || type == ElementType::DataCheck;
}

bool IsLevelType(int type)
{
    return type == ElementType::VibrationLevel || type == ElementType::VibrationComparison ||
           type == ElementType::VibrationResultComparison || type == ElementType::Spl ||
           type == ElementType::SplComparison || type == ElementType::SplTable ||
           type == ElementType::SplResultComparison;
}

std::string GetQuantityUnitName(int code, int variant)
{
    switch (code) {
    case 5:
    case 8:
        return "N";
    case 7:
        return variant == 1 ? "G" : "m/s2";
    case 9:
    case 15:
        return "Pa";
    case 10:
        return "Kg";
    case 11:
        return "Sec";
    case 12:
        return "Hz";
    default:
        return "?";
    }
}

std::string GetQuantityName(int type, int velocity)
{
    if (IsPressureOrVelocityType(type))
        return velocity == 0 ? "Pressure" : "Velocity";
    switch (type) {
    case ElementType::InputPower:
        return "Input Power";
    case ElementType::ModalDensity:
        return "Modal Density";
    case ElementType::Energy:
        return "Energy";
    case ElementType::ModalEnergy:
        return "Modal Energy";
    case ElementType::VibrationLevel:
        return "Vibration Level";
    case ElementType::Spl:
        return "SPL";
    case ElementType::Pressure:
        return "Pressure";
    case ElementType::Force:
        return "Force";
    case ElementType::Velocity:
        return "Velocity";
    case ElementType::OrderFrequencies:
        return "N";
    default:
        return {};
    }
}

std::string GetQuantityName(const CMElement* element, int velocity)
{
    return GetQuantityName(TypeOf(element), velocity);
}

std::string GetQuantityAxisLabel(int type, int inDb, int velocity, int aWeighted)
{
    auto pressure = [&]() -> std::string {
        if (!inDb)
            return "Pa";
        return aWeighted ? "dB (ref=2E-5Pa) (A-Weight)" : "dB (ref=2E-5Pa)";
    };
    auto velocityLabel = [&]() -> std::string { return inDb ? "dB (ref=1m/s)" : "m/s"; };
    if (IsPressureOrVelocityType(type))
        return velocity == 0 ? pressure() : velocityLabel();
    switch (type) {
    case ElementType::InputPower:
        return inDb ? "dB (ref=1W)" : "W";
    case ElementType::ModalDensity:
        return "Modes/(rad/s)";
    case ElementType::Energy:
        return inDb ? "dB (ref=1J)" : "J";
    case ElementType::ModalEnergy:
        return "Energy/(Modal Density)";
    case ElementType::VibrationLevel:
        return "dB (ref=1m/s)";
    case ElementType::Spl:
        return aWeighted ? "dB (ref=2E-5Pa) (A-Weight)" : "dB (ref=2E-5Pa)";
    case ElementType::Pressure:
        return pressure();
    case ElementType::Force:
        return "N";
    case ElementType::Velocity:
        return velocityLabel();
    case ElementType::OrderFrequencies:
        return "N * Delta RPM";
    default:
        return {};
    }
}

std::string GetQuantityAxisLabel(const CMElement* element, int inDb, int velocity, int aWeighted)
{
    return GetQuantityAxisLabel(TypeOf(element), inDb, velocity, aWeighted);
}

namespace {
std::string AxisTitle(const std::string& quantity, const std::string& unit)
{
    return unit.empty() || quantity.empty() ? unit : quantity + " [" + unit + "]";
}
} // namespace

std::string GetQuantityAxisTitle(const CMElement* element, int inDb, int velocity, int aWeighted)
{
    return AxisTitle(GetQuantityName(element, velocity), GetQuantityAxisLabel(element, inDb, velocity, aWeighted));
}

std::string GetShownQuantityName(const CMElement* element, int velocity)
{
    return TranslateText(GetQuantityName(element, velocity));
}

std::string GetShownQuantityAxisLabel(const CMElement* element, int inDb, int velocity, int aWeighted)
{
    return TranslateText(GetQuantityAxisLabel(element, inDb, velocity, aWeighted));
}

std::string GetShownQuantityAxisTitle(const CMElement* element, int inDb, int velocity, int aWeighted)
{
    return AxisTitle(GetShownQuantityName(element, velocity),
                     GetShownQuantityAxisLabel(element, inDb, velocity, aWeighted));
}

int QuantityValueToDecibel(double* out, int type, double value, int pressureRefOne, double aWeightFreq)
{
    if (!out)
        return 0;
    *out = value;
    if (IsMissing(value) || !InRange(type))
        return 0;
    const bool a = aWeightFreq > 0.0;
    switch (type) {
    case ElementType::InputPower:
    case ElementType::Energy:
        *out = CGfxCalc::GetEnergyDecibel(value);
        return 1;
    case ElementType::VibrationLevel:
    case ElementType::VibrationComparison:
    case ElementType::VibrationResultComparison:
        return 1; // already a level
    case ElementType::Spl:
    case ElementType::SplComparison:
    case ElementType::SplTable:
    case ElementType::SplResultComparison:
        *out = a ? AWeighted(aWeightFreq, value) : value;
        return 1;
    case ElementType::Pressure:
        *out = PressureDb(value, aWeightFreq);
        return 1;
    case ElementType::Velocity:
        *out = CGfxCalc::GetPressureDecibel(value, 1.0);
        return 1;
    default:
        break;
    }
    if (IsPressureOrVelocityType(type)) {
        *out = pressureRefOne ? CGfxCalc::GetPressureDecibel(value, 1.0) : PressureDb(value, aWeightFreq);
        return 1;
    }
    return 0;
}

int QuantityValueToDecibel(double* out, const CMElement* element, double value, int pressureRefOne, double aWeightFreq)
{
    return QuantityValueToDecibel(out, TypeOf(element), value, pressureRefOne, aWeightFreq);
}

double DecibelToQuantityValue(int type, double level, int isDb, int velocity)
{
    // Every code that is shown in dB converts back, all the pressure-or-velocity codes among them,
    // so that a value survives the round trip through its table text.
    if (!InRange(type) || isDb == 0)
        return level;
    switch (type) {
    case ElementType::InputPower:
    case ElementType::Energy:
        return CGfxCalc::EnergyFromDecibel(level);
    case ElementType::Pressure:
        return CGfxCalc::PressureFromDecibel(level, kRefPressure);
    case ElementType::Velocity:
        return CGfxCalc::PressureFromDecibel(level, 1.0);
    default:
        break;
    }
    if (IsPressureOrVelocityType(type))
        return CGfxCalc::PressureFromDecibel(level, velocity ? 1.0 : kRefPressure);
    return level;
}

double DecibelToQuantityValue(const CMElement* element, double level, int isDb, int velocity)
{
    return DecibelToQuantityValue(TypeOf(element), level, isDb, velocity);
}

bool QuantityDisplayValue(double* out, int type, double value, int inDb, int velocity, double aWeightFreq,
                          int* scientific)
{
    const bool a = aWeightFreq > 0.0;
    int sci = 0;
    double shown = value;
    bool present = true;
    if (IsLevelType(type)) {
        if (value == 0.0)
            shown = 0.0;
        else if (value == HUGE_VAL || std::isnan(value))
            present = false;
        else if (a && (type == ElementType::Spl || type == ElementType::SplComparison ||
                       type == ElementType::SplTable || type == ElementType::SplResultComparison))
            shown = AWeighted(aWeightFreq, value);
    } else if (type == ElementType::InputPower || type == ElementType::Energy || type == ElementType::Velocity ||
               type == ElementType::Pressure || IsPressureOrVelocityType(type)) {
        const bool energy = type == ElementType::InputPower || type == ElementType::Energy;
        if (!(value > 0.0) || value == HUGE_VAL)
            present = false;
        else if (!inDb)
            sci = 1;
        else if (energy)
            shown = CGfxCalc::GetEnergyDecibel(value);
        else if (type == ElementType::Velocity || (IsPressureOrVelocityType(type) && velocity))
            shown = CGfxCalc::GetPressureDecibel(value, 1.0);
        else
            shown = PressureDb(value, aWeightFreq);
    } else if (value == HUGE_VAL || std::isnan(value)) {
        present = false;
    } else {
        sci = 1;
    }
    if (out)
        *out = shown;
    if (scientific)
        *scientific = sci;
    return present;
}

bool QuantityDisplayValue(double* out, const CMElement* element, double value, int inDb, int velocity,
                          double aWeightFreq)
{
    return QuantityDisplayValue(out, TypeOf(element), value, inDb, velocity, aWeightFreq);
}

double DisplayToQuantityValue(int type, double shown, int inDb, int velocity, double aWeightFreq)
{
    // The A-weighting that the shown level carries is taken off first.
    const double weight = aWeightFreq > 0.0 ? AWeighted(aWeightFreq, 0.0) : 0.0;
    if (IsLevelType(type))
        return (type == ElementType::Spl || type == ElementType::SplComparison || type == ElementType::SplTable ||
                type == ElementType::SplResultComparison)
                   ? shown - weight
                   : shown;
    const bool energy = type == ElementType::InputPower || type == ElementType::Energy;
    if (inDb && !energy && (type == ElementType::Pressure || IsPressureOrVelocityType(type)) &&
        type != ElementType::Velocity && !(IsPressureOrVelocityType(type) && velocity))
        return DecibelToQuantityValue(type, shown - weight, inDb, velocity);
    return DecibelToQuantityValue(type, shown, inDb, velocity);
}

double DisplayToQuantityValue(const CMElement* element, double shown, int inDb, int velocity, double aWeightFreq)
{
    return DisplayToQuantityValue(TypeOf(element), shown, inDb, velocity, aWeightFreq);
}

std::string FormatQuantityValue(int type, double value, int precision, int inDb, int velocity, double aWeightFreq)
{
    double shown = 0.0;
    int scientific = 0;
    if (!QuantityDisplayValue(&shown, type, value, inDb, velocity, aWeightFreq, &scientific))
        return "----";
    if (IsLevelType(type) && value == 0.0)
        return "0";
    return scientific ? CGfxUtil::SciFormat(shown, precision) : CGfxUtil::GenFormat(shown, precision);
}

void FormatQuantityValue(std::string& out, int type, double value, int precision, int inDb, int velocity,
                         double aWeightFreq)
{
    out = FormatQuantityValue(type, value, precision, inDb, velocity, aWeightFreq);
}

void FormatQuantityValue(std::string& out, const CMElement* element, double value, int precision, int inDb,
                         int velocity, double aWeightFreq)
{
    FormatQuantityValue(out, TypeOf(element), value, precision, inDb, velocity, aWeightFreq);
}
