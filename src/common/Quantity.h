#pragma once
// The vocabulary of physical quantities: names, units, axis labels, decibel conversion and the
// text of a value in tables. A quantity is named by the type code of its data element.
//
// A value of 0 or HUGE_VAL stands for a missing level: it is never converted and is shown "----"
// wherever the quantity is not itself a level.
#include <string>

#include "platform/elements/ElementType.h"

class CMElement;

// The codes the helpers below know lie in this range.
inline constexpr int kFirstQuantityType = ElementType::InputPower;
inline constexpr int kLastQuantityType = ElementType::DataCheck;

// Unit text of a channel unit code ("N", "m/s2" or "G" with variant 1, "Pa", "Kg", "Sec", "Hz", "?").
std::string GetQuantityUnitName(int code, int variant);

// Quantity name of a type code; velocity chooses between "Pressure" and "Velocity" for the codes
// that hold either. Empty for codes not listed.
std::string GetQuantityName(int type, int velocity);
std::string GetQuantityName(const CMElement* element, int velocity);

// Axis label of a type code ("dB (ref=2E-5Pa)", "W", ...). Empty for codes not listed.
std::string GetQuantityAxisLabel(int type, int inDb, int velocity, int aWeighted);
std::string GetQuantityAxisLabel(const CMElement* element, int inDb, int velocity, int aWeighted);
// A chart's values axis: "<quantity> [<axis label>]", the axis label alone for an element without a
// quantity name, empty without an axis label.
std::string GetQuantityAxisTitle(const CMElement* element, int inDb, int velocity, int aWeighted);
// The name and the axis label as a window shows them: in the language loaded, through the text
// table. Copies and files keep the texts above.
std::string GetShownQuantityName(const CMElement* element, int velocity);
std::string GetShownQuantityAxisLabel(const CMElement* element, int inDb, int velocity, int aWeighted);
std::string GetShownQuantityAxisTitle(const CMElement* element, int inDb, int velocity, int aWeighted);

// True for the codes that hold a pressure or a velocity, chosen by the caller's flag.
bool IsPressureOrVelocityType(int type);
// True for the codes whose values are already levels in dB.
bool IsLevelType(int type);

// The value in dB. A value of 0 or HUGE_VAL, or a type outside 3..110, is copied and 0 returned;
// otherwise 1 when the value was converted. A-weighting applies when aWeightFreq > 0.
int QuantityValueToDecibel(double* out, int type, double value, int pressureRefOne, double aWeightFreq);
int QuantityValueToDecibel(double* out, const CMElement* element, double value, int pressureRefOne, double aWeightFreq);

// The inverse of QuantityValueToDecibel without A-weighting: with isDb 1 a level becomes the
// linear value; otherwise the level is returned unchanged.
double DecibelToQuantityValue(int type, double level, int isDb, int velocity);
double DecibelToQuantityValue(const CMElement* element, double level, int isDb, int velocity);

// The number a table shows for a value (what FormatQuantityValue writes, before rounding): the
// level in dB, the A-weighted level or the linear value. False for a missing value ("----"), when
// out is left as the value. scientific tells that the text form is the scientific one.
bool QuantityDisplayValue(double* out, int type, double value, int inDb, int velocity, double aWeightFreq,
                          int* scientific = nullptr);
bool QuantityDisplayValue(double* out, const CMElement* element, double value, int inDb, int velocity,
                          double aWeightFreq);

// The stored value of a number a table shows (the inverse of QuantityDisplayValue): a pasted
// table text gives back the value it was copied from, A-weighted levels included.
double DisplayToQuantityValue(int type, double shown, int inDb, int velocity, double aWeightFreq);
double DisplayToQuantityValue(const CMElement* element, double shown, int inDb, int velocity, double aWeightFreq);

// Text of a value for tables and labels ("----" for a missing value).
void FormatQuantityValue(std::string& out, int type, double value, int precision, int inDb, int velocity,
                         double aWeightFreq);
void FormatQuantityValue(std::string& out, const CMElement* element, double value, int precision, int inDb,
                         int velocity, double aWeightFreq);
std::string FormatQuantityValue(int type, double value, int precision, int inDb, int velocity, double aWeightFreq);
