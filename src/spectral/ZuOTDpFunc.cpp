#include "spectral/ZuOTDpFunc.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CZuOTDpFunc, CZuOTSelFunc, 0 | VERSIONABLE_SCHEMA)

CZuOTDpFunc::CZuOTDpFunc() : CZuOTSelFunc(std::string(), nullptr, -1) {}

CZuOTDpFunc::CZuOTDpFunc(const std::string& name, CMElement* parent, int kind) : CZuOTSelFunc(name, parent, kind) {}

CZuOTDpFunc::~CZuOTDpFunc() = default;

bool CZuOTDpFunc::AddOrder(double order, std::unique_ptr<CZuRpmDpFunc> function)
{
    return AddOrderSelFunc(order, std::move(function));
}

CZuRpmDpFunc* CZuOTDpFunc::GetOrderFunc(int i) const
{
    return static_cast<CZuRpmDpFunc*>(GetOrderSelFunc(i));
}

std::unique_ptr<CZuRpmSelFunc> CZuOTDpFunc::ReadOrderSelFunc(CArchive& ar)
{
    return ar.ReadOwned<CZuRpmDpFunc>();
}
