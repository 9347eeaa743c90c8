#include "calculation/CalcIEOptions.h"

#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CCalcIEOptions, CObject, CCalcIEOptions::kSchema | VERSIONABLE_SCHEMA)

void CCalcIEOptions::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_useSymmetric << m_rpmMargin << m_factor;
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    // Read embedded (no class record) the layout is the current one.
    const uint32_t s = schema == 0xFFFFFFFFu ? kSchema : schema;
    if (s > kSchema)
        CArchive::ThrowBadSchema(Format("input-energy options of schema %u", s));
    ar >> m_useSymmetric;
    if (s >= 1)
        ar >> m_rpmMargin;
    if (s >= 2)
        ar >> m_factor;
}
