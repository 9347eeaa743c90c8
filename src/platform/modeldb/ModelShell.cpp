#include "platform/modeldb/ModelShell.h"

#include "platform/archive/Archive.h"

CModelShell::CModelShell(const std::string& name, int type, double area, double perimeter, double mass)
    : CModelSubsystem(name, type), m_area(area), m_perimeter(perimeter), m_mass(mass)
{}

std::unique_ptr<CModelSubsystem> CModelShell::Clone() const
{
    return std::make_unique<CModelShell>(*this);
}

void CModelShell::Serialize(CArchive& ar)
{
    CModelSubsystem::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_area << m_perimeter << m_mass;
        return;
    }
    m_area = ReadMeasure(ar, "area");
    m_perimeter = ReadMeasure(ar, "perimeter");
    m_mass = ReadMeasure(ar, "mass");
}
