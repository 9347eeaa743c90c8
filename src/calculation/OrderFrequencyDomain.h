#pragma once
// The frequency lines of one order in the input-energy and input-power text exports: the order's
// lines over the project's RPM range, of which only those inside the model's bands are written.
#include "platform/base/Feedback.h"
#include "platform/gfx/FreqInfo.h"

class CStdioFile;
class IAnalysisProjectAccess;

class COrderFrequencyDomain
{
public:
    // Builds the lines and writes "USER_DEFINED_FREQUENCY_DOMAIN" with the first and last centre
    // and one row per line inside the model's bands. False when none is inside: the out-of-range
    // marker is written, reported as a warning through the feedback, and the section ends there.
    bool Write(CStdioFile& file, IAnalysisProjectAccess& project, double order, int bandListType, double bandWidth,
               CFeedback* feedback = SilentFeedback());

    const CFreqInfoList& Lines() const { return m_lines; }
    // Whether a line lies inside the model's bands (only those carry values).
    bool Contains(const CFreqInfo& line) const
    {
        return line.GetCenterFreq() >= m_low && line.GetCenterFreq() <= m_high;
    }
    // The share of a line's value: full for a line so marked, else its width over the
    // order-tracking setting.
    static double Weight(const CFreqInfo& line, double orderTrackingSetting);

private:
    CFreqInfoList m_lines;
    double m_low = 0.0;
    double m_high = -1.0;
};
