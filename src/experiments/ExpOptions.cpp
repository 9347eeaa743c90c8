#include "experiments/ExpOptions.h"

#include "models/HSEARegOptions.h"

namespace {
// A value that reads as missing (all bits set) keeps the member at 0.
int Setting(uint32_t value)
{
    return value == CHSEARegOptions::kNoValue ? 0 : static_cast<int>(value);
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
