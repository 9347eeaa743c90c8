#include "platform/elements/ZuDlfFunc.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CZuDlfFunc, CZuVecFunc, 1)

namespace {
constexpr uint8_t kVersion = 1;
}

CZuDlfFunc::CZuDlfFunc() = default;

CZuDlfFunc::CZuDlfFunc(const std::string& name, const std::string& subsystem, int dataCount, CMElement* parent,
                       int type)
    : CZuVecFunc(name, std::vector<std::string>{subsystem}, dataCount, parent, type)
{}

CZuDlfFunc::~CZuDlfFunc() = default;

void CZuDlfFunc::Serialize(CArchive& ar)
{
    SerializeVersioned(ar, kVersion, "DLF function");
}
