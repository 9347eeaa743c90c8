#include "experiments/DAQConfig.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CDAQConfig, CObject, 0)

CDAQConfig::CDAQConfig()
{
    SetMeasureTime(10.0f);
}

void CDAQConfig::SetMeasureTime(float seconds)
{
    // Without a sampling rate there is no block length to round to.
    if (!(m_samplingFreq >= 1.0f) || !std::isfinite(m_samplingFreq)) {
        m_measureTime = seconds;
        return;
    }
    // No acquisition comes near 2^40 samples per second; the bound keeps an absurd rate from
    // overflowing the block length.
    const int64_t rate = static_cast<int64_t>(std::min(m_samplingFreq, 1.0995116e12f));
    int64_t n = 1;
    while (n < rate)
        n <<= 1;
    const float blockTime = static_cast<float>(n) / m_samplingFreq;
    const float blocks = seconds / blockTime;
    if (blocks == std::floor(blocks))
        m_measureTime = blocks * blockTime;
    else
        m_measureTime = std::ceil(blocks) * blockTime;
}

bool CDAQConfig::operator==(const CDAQConfig& o) const
{
    return m_maxFreq == o.m_maxFreq && m_samplingFreq == o.m_samplingFreq && m_bandLimit == o.m_bandLimit &&
           m_rpmChannel == o.m_rpmChannel && m_levelFraction == o.m_levelFraction &&
           m_pulsesPerRev == o.m_pulsesPerRev && m_rpmRatio == o.m_rpmRatio && m_factor3 == o.m_factor3 &&
           m_rpmLow == o.m_rpmLow && m_rpmHigh == o.m_rpmHigh && m_rpmMargin == o.m_rpmMargin &&
           m_timeSpan == o.m_timeSpan && m_rpmRef == o.m_rpmRef && m_measureTime == o.m_measureTime &&
           m_option60 == o.m_option60 && m_blockMode == o.m_blockMode;
}

void CDAQConfig::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        ar << m_samplingFreq << m_bandLimit << m_rpmChannel << m_levelFraction << m_pulsesPerRev << m_rpmRatio
           << m_rpmLow << m_rpmHigh << m_rpmMargin << m_timeSpan << m_rpmRef << m_measureTime << m_option60 << m_factor3
           << m_maxFreq;
        ar << m_blockMode;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    // Older layouts are unknown; a newer program's layout is not ours to guess.
    if (version < 4 || version > kVersion)
        CArchive::ThrowBadSchema(Format("acquisition configuration of version %d", version));
    ar >> m_samplingFreq >> m_bandLimit >> m_rpmChannel >> m_levelFraction >> m_pulsesPerRev >> m_rpmRatio >>
        m_rpmLow >> m_rpmHigh >> m_rpmMargin >> m_timeSpan >> m_rpmRef >> m_measureTime >> m_option60 >> m_factor3 >>
        m_maxFreq;
    if (version >= 5)
        ar >> m_blockMode;
}
