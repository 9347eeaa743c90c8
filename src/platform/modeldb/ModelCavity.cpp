#include "platform/modeldb/ModelCavity.h"

#include "platform/archive/Archive.h"

CModelCavity::CModelCavity(const std::string& name, int type, double surfaceArea, double volume)
    : CModelSubsystem(name, type), m_surfaceArea(surfaceArea), m_volume(volume)
{}

std::unique_ptr<CModelSubsystem> CModelCavity::Clone() const
{
    return std::make_unique<CModelCavity>(*this);
}

void CModelCavity::Serialize(CArchive& ar)
{
    CModelSubsystem::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_surfaceArea << m_volume;
        return;
    }
    m_surfaceArea = ReadMeasure(ar, "surface area");
    m_volume = ReadMeasure(ar, "volume");
}
