#include "platform/elements/ZuClfFunc.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CZuClfFunc, CZuVecFunc, 1)

namespace
{
constexpr uint8_t kVersion = 1;
}

CZuClfFunc::CZuClfFunc() = default;

CZuClfFunc::CZuClfFunc(const std::string& name, const std::string& a, const std::string& b, int dataCount,
                       CMElement* parent, int type)
    : CZuVecFunc(name, nullptr, dataCount, parent, type)
{
    CZuSubsystemTable pair;
    pair.Add(a);
    pair.Add(b);
    SetSubsystemTable(&pair);
}

CZuClfFunc::~CZuClfFunc() = default;

void CZuClfFunc::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << kVersion;
        CZuVecFunc::Serialize(ar);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kVersion)
        CArchive::ThrowBadSchema(Format("CLF function version %u", static_cast<unsigned>(version)));
    CZuVecFunc::Serialize(ar);
}
