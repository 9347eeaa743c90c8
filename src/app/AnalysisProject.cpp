#include "app/AnalysisProject.h"

#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "platform/win/PromptService.h"

IMPLEMENT_SERIAL(CAnalysisProject, CBaseProject, CAnalysisProject::kSchema | VERSIONABLE_SCHEMA)

namespace {
constexpr uint32_t IDS_ANALYSIS_TOO_OLD = 6099;
}

CAnalysisProject::CAnalysisProject() = default;
CAnalysisProject::CAnalysisProject(const std::string& name) : CBaseProject(name) {}
CAnalysisProject::~CAnalysisProject() = default;

void CAnalysisProject::SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands)
{
    m_bands = std::move(bands);
}

CDaqProject* CAnalysisProject::GetDaqProject() const
{
    if (m_daqProjectID < 0 || !GetOwner())
        return nullptr;
    return DynamicDowncast<CDaqProject>(GetOwner()->FindProjectByID(m_daqProjectID));
}

COctaveManagerEx* CAnalysisProject::GetOctaveManager()
{
    if (!m_bands)
        if (CDaqProject* daq = GetDaqProject())
            m_bands = std::make_unique<COctaveManagerEx>(*daq->GetOctaveManager());
    return m_bands.get();
}

double CAnalysisProject::GetDaqConfigValue() const
{
    CDaqProject* daq = GetDaqProject();
    return daq ? daq->GetDAQConfig()->GetFactor3() : 0.0;
}

int CAnalysisProject::CompleteSubsystemName(std::string& name) const
{
    return GetOwner() ? GetOwner()->GetSubsystemType(name, 1) : -1;
}

bool CAnalysisProject::GetSubsystemParam(const std::string& name, double& mass, double& volume) const
{
    const CModelData* model = GetOwner() ? GetOwner()->GetModelData() : nullptr;
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    const CModelSubsystem* subsystem = model ? model->GetSubsystem(plain, 0, 1) : nullptr;
    if (!subsystem)
        return false;
    mass = subsystem->GetMass();
    volume = subsystem->GetVolume();
    return true;
}

const COctaveManager* CAnalysisProject::GetModelOctaveManager() const
{
    return GetOwner() ? GetOwner()->GetOctaveManager() : nullptr;
}

std::vector<int32_t>& CAnalysisProject::GetFreqIndexArray()
{
    if (m_freqIndex.empty())
        BuildFreqIndexArray();
    return m_freqIndex;
}

CHSEAModelData* CAnalysisProject::GetHSEAModelData() const
{
    CModelProject* model = GetOwner() ? GetOwner()->GetModelProject() : nullptr;
    return model ? model->GetHSEAModelData() : nullptr;
}

int CAnalysisProject::GetInputPowerSubsystems(CZuSubsystemTable& table) const
{
    table.Clear();
    return 0; // the input-power folder comes with the calculation engine
}

int CAnalysisProject::GetInputEnergySubsystems(CZuSubsystemTable& table) const
{
    table.Clear();
    return 0; // the input-energy folder comes with the calculation engine
}

int CAnalysisProject::BuildFreqIndexArray()
{
    return 0;
}

int CAnalysisProject::CalcInputEnergy(const std::string&, int)
{
    return 0;
}

int CAnalysisProject::CalcInputPower(const std::string&, int, int)
{
    return 0;
}

int CAnalysisProject::CalcInputPowerAll(const std::string& name, int force, int withEnergies)
{
    if (GetDaqProject() && !CalcInputEnergy(name, force))
        return 0;
    return CalcInputPower(name, force, withEnergies) ? 1 : 0;
}

void CAnalysisProject::DeleteResults() {}

CMElement* CAnalysisProject::GetInputPowerFolder() const
{
    return nullptr;
}

void CAnalysisProject::Serialize(CArchive& ar)
{
    if (ar.IsLoading()) {
        const uint32_t stored = ar.GetObjectSchema();
        const uint32_t schema = stored == 0xFFFFFFFFu ? kSchema : stored;
        if (schema < kSchema) {
            AfxMessageBox(IDS_ANALYSIS_TOO_OLD);
            CArchive::ThrowBadSchema(Format("analysis project of schema %u", schema));
        }
        if (schema > kSchema)
            CArchive::ThrowBadSchema(Format("analysis project of schema %u", schema));
    }
    CBaseProject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(&m_rpmOptions);
        ar.WriteObject(&m_ieOptions);
        ar << m_projectType;
        m_orders.Serialize(ar);
        ar << m_otSetting << m_daqProjectID;
        ar << static_cast<int32_t>(m_freqIndex.size());
        for (int32_t i : m_freqIndex)
            ar << i;
        if (COctaveManagerEx* bands = GetOctaveManager()) {
            bands->Serialize(ar);
        } else {
            // Without a DAQ project there is no band set to copy; an empty one keeps the layout.
            COctaveManagerEx(OCTAVE_BAND_USER).Serialize(ar);
        }
        return;
    }
    if (auto rpm = ar.ReadOwned<CRPMOptions>())
        m_rpmOptions = *rpm;
    if (auto ie = ar.ReadOwned<CCalcIEOptions>())
        m_ieOptions = *ie;
    ar >> m_projectType;
    m_orders.Serialize(ar);
    ar >> m_otSetting >> m_daqProjectID;
    const int32_t count = ar.ReadSignedCount(4, "band indexes in an analysis project");
    m_freqIndex.assign(static_cast<size_t>(count), 0);
    for (auto& i : m_freqIndex)
        ar >> i;
    auto bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_USER);
    bands->Serialize(ar);
    m_bands = std::move(bands);
}

void CAnalysisProject::GetModelDataParams(int* kind, double* start, double* end) const
{
    *kind = -1;
    *start = *end = 0.0;
    CTALVOProject* owner = GetOwner();
    if (CModelProject* model = owner ? owner->GetModelProject() : nullptr)
        model->GetModelDataParams(kind, start, end);
}
