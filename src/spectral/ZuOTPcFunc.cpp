#include "spectral/ZuOTPcFunc.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CZuOTPcFunc, CZuOTSelFunc, 0 | VERSIONABLE_SCHEMA)

CZuOTPcFunc::CZuOTPcFunc() : CZuOTSelFunc(std::string(), nullptr, -1) {}

CZuOTPcFunc::CZuOTPcFunc(const std::string& name, CMElement* parent, int kind) : CZuOTSelFunc(name, parent, kind) {}

CZuOTPcFunc::~CZuOTPcFunc() = default;

bool CZuOTPcFunc::AddOrder(double order, std::unique_ptr<CZuRpmPcFunc> function)
{
    return AddOrderSelFunc(order, std::move(function));
}

CZuRpmPcFunc* CZuOTPcFunc::GetOrderFunc(int i) const
{
    return static_cast<CZuRpmPcFunc*>(GetOrderSelFunc(i));
}

std::unique_ptr<CZuRpmSelFunc> CZuOTPcFunc::ReadOrderSelFunc(CArchive& ar)
{
    return ar.ReadOwned<CZuRpmPcFunc>();
}

void CZuOTPcFunc::BindSubsystemTable(const CZuSubsystemTable* table)
{
    for (int i = 0; i < GetOrderCount(); ++i)
        if (CZuRpmPcFunc* function = GetOrderFunc(i))
            function->BindSubsystemTable(table);
}
