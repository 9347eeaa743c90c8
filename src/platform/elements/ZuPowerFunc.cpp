#include "platform/elements/ZuPowerFunc.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CZuPowerFunc, CZuVecFunc, 1)

namespace {
constexpr uint8_t kVersion = 1;
}

CZuPowerFunc::CZuPowerFunc() = default;

CZuPowerFunc::CZuPowerFunc(const std::string& name, const std::string& subsystem, int dataCount, CMElement* parent,
                           int type)
    : CZuVecFunc(name, std::vector<std::string>{subsystem}, dataCount, parent, type)
{}

CZuPowerFunc::~CZuPowerFunc() = default;

void CZuPowerFunc::Serialize(CArchive& ar)
{
    SerializeVersioned(ar, kVersion, "power function");
}
