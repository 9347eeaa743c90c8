#include "spectral/ZuRpmDpFunc.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CZuRpmDpFunc, CZuRpmSelFunc, 0 | VERSIONABLE_SCHEMA)

CZuRpmDpFunc::CZuRpmDpFunc() : CZuRpmSelFunc("", nullptr, -1) {}

CZuRpmDpFunc::CZuRpmDpFunc(const std::string& name, CMElement* parent, int kind) : CZuRpmSelFunc(name, parent, kind) {}

CZuRpmDpFunc::~CZuRpmDpFunc() = default;

void CZuRpmDpFunc::Serialize(CArchive& ar)
{
    CZuRpmSelFunc::Serialize(ar);
    if (ar.IsStoring())
        ar << m_target;
    else
        ar >> m_target;
}
