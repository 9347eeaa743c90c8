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
    if (ar.IsStoring()) {
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
    if (const std::string why = CheckMeasure(v, what); !why.empty())
        CArchive::Throw(CArchiveException::genericException, why);
    return v;
}

std::string CModelSubsystem::CheckMeasure(double value, const char* what)
{
    if (!std::isfinite(value))
        return Format("model subsystem with an invalid %s (%g)", what, value);
    if (value < 0.0)
        return Format("model subsystem %s %g: a %s must not be negative", what, value, what);
    return {};
}

std::unique_ptr<CModelSubsystem> CModelSubsystem::Create(uint8_t tag)
{
    if (tag == 0)
        return std::make_unique<CModelShell>();
    if (tag == 1)
        return std::make_unique<CModelCavity>();
    return nullptr;
}
