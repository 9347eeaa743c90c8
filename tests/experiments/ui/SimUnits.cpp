#include "SimUnits.h"

#include "../../acquisition/RunRig.h"

CSimUnits::CSimUnits(int units) : m_rig(std::make_unique<CRunRig>(units, "", true)) {}

CSimUnits::~CSimUnits() = default;

CMultiQMXInterface* CSimUnits::Daq() const
{
    return m_rig->daq.get();
}

void CSimUnits::SetTimeUs(int64_t us)
{
    m_rig->simUs = us;
}

void CSimUnits::AdvanceUs(int64_t us)
{
    m_rig->simUs += us;
}

std::vector<float> CSimUnits::Signal(int unit, int channel, int count, double rate) const
{
    return m_rig->Signal(unit, channel, count, rate);
}

void CSimUnits::LoseSystemAt(int unit, int sample)
{
    m_rig->LoseSystemAt(unit, sample);
}
