#include "spectral/ZuRpmPcFunc.h"

#include "platform/archive/Archive.h"
#include "platform/elements/ZuTableData.h"
#include "platform/gfx/GfxUtil.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "spectral/SubsystemRowTable.h"

IMPLEMENT_SERIAL(CZuRpmPcFunc, CZuRpmSelFunc, 0 | VERSIONABLE_SCHEMA)

CZuRpmPcFunc::CZuRpmPcFunc() : CZuRpmSelFunc("", nullptr, -1) {}

CZuRpmPcFunc::CZuRpmPcFunc(const std::string& name, CMElement* parent, int kind) : CZuRpmSelFunc(name, parent, kind) {}

CZuRpmPcFunc::~CZuRpmPcFunc() = default;

int CZuRpmPcFunc::IsTargetAcoustic() const
{
    std::string plain = m_target;
    CGfxUtil::RemoveWaveSign(plain);
    // A named subsystem that is not a structure is a cavity; the wave mark answers without a project.
    if (const ISpectrumDisplayOptions* project = ISpectrumDisplayOptions::FindOwner(this))
        return project->IsStructure(plain) ? 0 : 1;
    return CGfxUtil::GetWaveType(m_target, 1) == CGfxUtil::WAVE_ACOUSTIC ? 1 : 0;
}

void CZuRpmPcFunc::BindSubsystemTable(const CZuSubsystemTable* table)
{
    for (int i = 0; i < GetRpmCount(); ++i)
        if (auto* rows = dynamic_cast<ISubsystemRowTable*>(GetRpmData(i)))
            rows->BindSubsystemTable(table);
}

void CZuRpmPcFunc::Serialize(CArchive& ar)
{
    CZuRpmSelFunc::Serialize(ar);
    if (ar.IsStoring())
        ar << m_target;
    else
        ar >> m_target;
}
