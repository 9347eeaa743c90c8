#include "app/DaqProject.h"

#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/gfx/OctaveManager.h"

IMPLEMENT_SERIAL(CDaqProject, CBaseProject, 0)

CDaqProject::CDaqProject() = default;
CDaqProject::CDaqProject(const std::string& name) : CBaseProject(name) {}
CDaqProject::~CDaqProject() = default;

COctaveManagerEx* CDaqProject::GetModelOctaveManager() const
{
    return GetOwner() ? GetOwner()->GetOctaveManager() : nullptr;
}

COctaveManagerEx* CDaqProject::GetOctaveManager()
{
    if (!m_bands) {
        const COctaveManagerEx* model = GetModelOctaveManager();
        const double upper = m_daqConfig.GetMaxFreq();
        if (model && model->GetFreqCount() > 0)
            m_bands = std::make_unique<COctaveManagerEx>(model->GetBandType(), model->GetFreq(0), upper);
        else
            m_bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_THIRD, COctaveManager::kDefaultStartFreq, upper);
    }
    return m_bands.get();
}

void CDaqProject::SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands)
{
    m_bands = std::move(bands);
}

std::string CDaqProject::GetTargetSubsystemName() const
{
    return GetOwner() ? GetOwner()->GetTargetSubsystem() : std::string();
}

void CDaqProject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        CBaseProject::Serialize(ar);
        m_daqConfig.Serialize(ar);
        ar.WriteObject(&m_calcOptions);
        ar << m_maxChannel;
        GetOctaveManager()->Serialize(ar);
        ar << m_extraText << m_extraValue1 << m_extraValue2;
        ar << static_cast<int32_t>(m_extraList.size());
        for (int32_t v : m_extraList)
            ar << v;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("DAQ project of version %d", version));
    CBaseProject::Serialize(ar);
    m_daqConfig.Serialize(ar);
    if (version < kOldestVersion)
        CArchive::ThrowBadSchema(Format("DAQ project \"%s\" of version %d", GetName().c_str(), version));
    auto options = ar.ReadOwned<CCalcOptions>();
    if (options)
        m_calcOptions = *options;
    if (version >= 6)
        ar >> m_maxChannel;
    if (version >= 7) {
        auto bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_USER);
        bands->Serialize(ar);
        m_bands = std::move(bands);
    }
    if (version >= 8) {
        ar >> m_extraText >> m_extraValue1 >> m_extraValue2;
        int32_t count = 0;
        ar >> count;
        if (count < 0)
            CArchive::ThrowBadSchema(Format("DAQ project with %d values", count));
        ar.EnsureAvailable(static_cast<uint64_t>(count) * 4);
        m_extraList.assign(static_cast<size_t>(count), 0);
        for (auto& v : m_extraList)
            ar >> v;
    }
}
