#include "platform/modeldb/ModelSubsystem.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelShell.h"

#include <cmath>

CModelSubsystem::CModelSubsystem(const std::string& name, int type) : m_name(name), m_type(type)
{
    m_color = GetDefaultColor();
}

CModelSubsystem::Color CModelSubsystem::GetDefaultColor() const
{
    return IsAcoustic() ? Color{0.70f, 0.85f, 1.0f} : Color{0.75f, 0.75f, 0.75f};
}

void CModelSubsystem::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_name << static_cast<int32_t>(m_type);
        return;
    }
    std::string name;
    int32_t type = 0;
    ar >> name >> type;
    m_name = std::move(name);
    m_type = type;
    m_color = GetDefaultColor();
    m_marked = false;
}

double CModelSubsystem::ReadMeasure(CArchive& ar, const char* what)
{
    double v = 0.0;
    ar >> v;
    if (!std::isfinite(v) || v < 0.0)
        CArchive::Throw(CArchiveException::genericException, Format("model subsystem with an invalid %s", what));
    return v;
}

std::unique_ptr<CModelSubsystem> CModelSubsystem::Create(uint8_t tag)
{
    if (tag == 0)
        return std::make_unique<CModelShell>();
    if (tag == 1)
        return std::make_unique<CModelCavity>();
    return nullptr;
}
