#include "SimUnits.h"

#include "../../acquisition/RunRig.h"
#include "acquisition/DAQ.h"
#include "platform/win/ZuRegOptions.h"

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

void CSimUnits::Settle()
{
    m_rig->ms.Advance(30001);
}

void CSimUnits::AdvanceUs(int64_t us)
{
    m_rig->simUs += us;
}

void CSimUnits::AdvanceClocksUs(int64_t us)
{
    m_rig->simUs += us;
    m_rig->ms.Advance(static_cast<uint32_t>(us / 1000));
}

std::vector<float> CSimUnits::Signal(int unit, int channel, int count, double rate) const
{
    return m_rig->Signal(unit, channel, count, rate);
}

void CSimUnits::LoseSystemAt(int unit, int sample)
{
    m_rig->LoseSystemAt(unit, sample);
}

bool CSimUnits::ConnectProgramUnit()
{
    WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.1", "boards=4+4; serial=1; address=10.0.0.1");
    WriteProfileString("QMX", "IP", "10.0.0.1");
    CMultiQMXInterface* units = CDAQ::GetMultiInterface();
    return units && units->AddUnit() == 1 && units->MergeUnitInfo();
}

void CSimUnits::DisconnectProgramUnits()
{
    CDAQ::Destroy();
}
