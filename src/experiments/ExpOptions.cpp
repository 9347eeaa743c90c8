#include "experiments/ExpOptions.h"

#include "models/HSEARegOptions.h"

namespace {
// A value that reads as missing (all bits set) keeps the member at 0.
int Setting(uint32_t value)
{
    return value == CHSEARegOptions::kNoValue ? 0 : static_cast<int>(value);
}
// Axes are numbered from 1 to 3; other numbers read 0 and change nothing.
bool ValidAxis(int axis)
{
    return axis >= 1 && axis <= 3;
}
} // namespace

CExpOptions::CExpOptions()
    : m_graphBandType(Setting(CHSEARegOptions::GetDaqGraphBandType())),
      m_graphColor(Setting(CHSEARegOptions::GetDaqGraphColor())),
      m_inputRange(Setting(CHSEARegOptions::GetDaqInputRange()))
{}

int CExpOptions::Save() const
{
    const int band = CHSEARegOptions::WriteDWORD(kRegDaqGraphBandType, static_cast<uint32_t>(m_graphBandType));
    const int colour = CHSEARegOptions::WriteDWORD(kRegDaqGraphColor, static_cast<uint32_t>(m_graphColor));
    return band == 1 && colour == 1 ? 1 : 0;
}

int CExpOptions::GetAxisMode(int axis) const
{
    return ValidAxis(axis) ? m_axisMode[axis - 1] : 0;
}

void CExpOptions::SetAxisMode(int axis, int mode)
{
    if (ValidAxis(axis))
        m_axisMode[axis - 1] = mode;
}

double CExpOptions::GetAxisUpper(int axis) const
{
    return ValidAxis(axis) ? m_axisUpper[axis - 1] : 0.0;
}

double CExpOptions::GetAxisLower(int axis) const
{
    return ValidAxis(axis) ? m_axisLower[axis - 1] : 0.0;
}

void CExpOptions::SetAxisRange(int axis, double upper, double lower)
{
    if (!ValidAxis(axis))
        return;
    m_axisUpper[axis - 1] = upper;
    m_axisLower[axis - 1] = lower;
}
