#include "acquisition/AccelRpmAnalysis.h"

#include "experiments/DAQConfig.h"
#include "spectral/RpmDetection.h"

#include <cmath>

int CAccelRpmAnalysis::GetEngineCount() const
{
    if (m_engineCount >= 0 || !m_config)
        return m_engineCount;
    return static_cast<int>(m_config->GetRpmRatio());
}

int CAccelRpmAnalysis::GetPulseCount() const
{
    if (m_pulseCount >= 0 || !m_config)
        return m_pulseCount;
    return static_cast<int>(m_config->GetPulsesPerRev());
}

double CAccelRpmAnalysis::GetMargin() const
{
    return m_config ? m_config->GetRpmMargin() : 0.0;
}

void CAccelRpmAnalysis::Reset()
{
    m_consumed = 0;
    m_values.clear();
    const float fs = m_config ? m_config->GetSamplingFreq() : 0.0f;
    CRpmDetection detection;
    detection.SetOctaveManager(m_bands);
    detection.SetSamplingFreq(fs);
    m_blockSize = detection.GetBlockSize();
    m_pointCount = 0;
    if (m_blockSize > 0 && m_config) {
        const double samples = std::floor(static_cast<double>(fs) * m_config->GetTimeSpan() + 0.5);
        // A time span beyond any chart is kept to a count that fits.
        if (samples > 0.0 && samples < 2147483647.0)
            m_pointCount = static_cast<int>(samples) / m_blockSize;
    }
}

int CAccelRpmAnalysis::Analyse(const float* samples, int n)
{
    if (!samples || m_blockSize <= 0 || !m_config)
        return 0;
    CRpmDetection detection;
    detection.SetOctaveManager(m_bands);
    detection.SetEngineCount(GetEngineCount());
    detection.SetPulseCount(GetPulseCount());
    detection.SetSamplingFreq(m_config->GetSamplingFreq());
    int added = 0;
    while (n - m_consumed >= m_blockSize) {
        m_values.push_back(detection.GetRpmSpread(samples + m_consumed, m_blockSize, 0.0f));
        m_consumed += m_blockSize;
        ++added;
    }
    return added;
}

std::vector<double> CAccelRpmAnalysis::Series() const
{
    std::vector<double> out(static_cast<size_t>(m_pointCount), 0.0);
    for (size_t i = 0; i < out.size() && i < m_values.size(); ++i)
        out[i] = m_values[i];
    return out;
}
