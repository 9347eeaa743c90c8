#include "calculation/OrderFrequencyDomain.h"

#include "calculation/AnalysisProjectAccess.h"
#include "common/FreqAxis.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/RPMOptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {
// A band-list entry whose type byte is this carries its full weight.
constexpr uint8_t kFullWeight = 255;
const char* const kOutOfRange = "!!OUT_OF_FREQUENCY_RANGE!!";
} // namespace

bool COrderFrequencyDomain::Write(CStdioFile& file, IAnalysisProjectAccess& project, double order, int bandListType,
                                  double bandWidth, CFeedback* feedback)
{
    std::vector<double> rpms;
    project.GetRPMOptions().MakeRpmArrayD(rpms);
    m_lines = CFreqInfoList();
    BuildFreqInfoList(m_lines, bandListType, bandWidth, order, project.GetDaqConfigValue(), rpms);
    const COctaveManager* model = project.GetModelOctaveManager();
    const int modelCount = model ? model->GetFreqCount() : 0;
    m_low = modelCount > 0 ? model->GetFreq(0) : 0.0;
    m_high = modelCount > 0 ? model->GetFreq(modelCount - 1) : -1.0;
    file.WriteString("USER_DEFINED_FREQUENCY_DOMAIN\n");
    if (!m_lines.IsEmpty()) {
        file.WriteString(Format("%d\n", static_cast<int>(m_lines[0].GetCenterFreq())));
        file.WriteString(Format("%d\n", static_cast<int>(m_lines[m_lines.GetSize() - 1].GetCenterFreq())));
    }
    int inRange = 0;
    for (const CFreqInfo& line : m_lines.Items()) {
        const int f = static_cast<int>(line.GetCenterFreq());
        if (f < m_low || f > m_high)
            continue;
        file.WriteString(
            Format("%d\t%d\t%d\n", f, static_cast<int>(line.GetLowerFreq()), static_cast<int>(line.GetUpperFreq())));
        ++inRange;
    }
    if (inRange == 0) {
        file.WriteString(std::string(kOutOfRange) + "\n");
        feedback->Warning(kOutOfRange);
        return false;
    }
    return true;
}

double COrderFrequencyDomain::Weight(const CFreqInfo& line, double orderTrackingSetting)
{
    return line.GetDomainType() == kFullWeight
               ? 1.0
               : static_cast<int>(line.GetUpperFreq() - line.GetLowerFreq()) / orderTrackingSetting;
}
