#include "SimUnits.h"

#include "../../acquisition/RunRig.h"
#include "acquisition/BlixChDB.h"
#include "acquisition/DAQ.h"
#include "app/TALVOProject.h"
#include "experiments/SensorInfo.h"
#include "experiments/SensorProject.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/ZuRegOptions.h"

#include <gtest/gtest.h>

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

std::vector<std::string> LoadSampleModelStructures(CTALVOProject& container)
{
    EXPECT_NE(container.CreateModelProjectFromFile(0, ORVEX_SOURCE_DIR "/samples/sample-model.dmd"), nullptr);
    std::vector<std::string> structures;
    const CZuSubsystemTable* table = container.GetModelSubsystemTable();
    for (int i = 0; table && i < table->GetCount(); ++i)
        if (container.IsStructure((*table)[i]))
            structures.push_back((*table)[i]);
    return structures;
}

void AddSimSensors(CTALVOProject& container, int count)
{
    CSensorProject* sensors = container.GetSensorProject();
    for (int i = 1; i <= count; ++i) {
        tagSENSORINFO info;
        info.ID = Format("S%d", i);
        info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
        info.ChannelInfo.Sensitivity = 10.0f;
        EXPECT_NE(sensors->AddSensor(info), nullptr);
    }
}

void AssignUnitChannel(CTALVOProject& container, const std::string& subsystem, const char* unit, int channel,
                       const char* sensor)
{
    auto item = std::make_unique<CBlixChDB::CItem>();
    item->SetSubsystem(subsystem);
    item->SetBlixSN(unit);
    item->SetBlixCh(static_cast<uint8_t>(channel));
    item->SetSensor(sensor);
    container.GetBlixChDB()->GetItemList()->Add(std::move(item));
}
