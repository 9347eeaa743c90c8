#include "platform/elements/ZuDlfFunc.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CZuDlfFunc, CZuVecFunc, 1)

namespace
{
constexpr uint8_t kVersion = 1;
}

CZuDlfFunc::CZuDlfFunc() = default;

CZuDlfFunc::CZuDlfFunc(const std::string& name, const std::string& subsystem, int dataCount, CMElement* parent, int type)
    : CZuVecFunc(name, nullptr, dataCount, parent, type)
{
    CZuSubsystemTable table;
    table.Add(subsystem);
    SetSubsystemTable(&table);
}

CZuDlfFunc::~CZuDlfFunc() = default;

void CZuDlfFunc::Serialize(CArchive& ar)
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
        CArchive::ThrowBadSchema(Format("DLF function version %u", static_cast<unsigned>(version)));
    CZuVecFunc::Serialize(ar);
}
