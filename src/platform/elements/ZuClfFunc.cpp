#include "platform/elements/ZuClfFunc.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CZuClfFunc, CZuVecFunc, 1)

namespace {
constexpr uint8_t kVersion = 1;
}

CZuClfFunc::CZuClfFunc() = default;

CZuClfFunc::CZuClfFunc(const std::string& name, const std::string& a, const std::string& b, int dataCount,
                       CMElement* parent, int type)
    : CZuVecFunc(name, std::vector<std::string>{a, b}, dataCount, parent, type)
{}

CZuClfFunc::~CZuClfFunc() = default;

void CZuClfFunc::Serialize(CArchive& ar)
{
    SerializeVersioned(ar, kVersion, "CLF function");
}
