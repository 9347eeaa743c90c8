#pragma once
// Power contributions into one target subsystem over engine order: one by-RPM power-contribution
// function per order. Like the by-RPM function, its tables name their rows by the result set's
// subsystem table, which the set binds again after reading (BindSubsystemTable).
#include <memory>
#include <string>

#include "spectral/ZuOTSelFunc.h"
#include "spectral/ZuRpmPcFunc.h"

class CZuOTPcFunc : public CZuOTSelFunc
{
    DECLARE_SERIAL(CZuOTPcFunc)
public:
    CZuOTPcFunc(); // the class factory: empty name, no parent, kind -1
    CZuOTPcFunc(const std::string& name, CMElement* parent, int kind);
    ~CZuOTPcFunc() override;

    // Appends an order with its function (owned); null adds nothing and gives false.
    bool AddOrder(double order, std::unique_ptr<CZuRpmPcFunc> function);
    // The function of order i; null outside.
    CZuRpmPcFunc* GetOrderFunc(int i) const;
    // Binds every table of every order to the table (not owned); null unbinds.
    void BindSubsystemTable(const CZuSubsystemTable* table);

protected:
    std::unique_ptr<CZuRpmSelFunc> ReadOrderSelFunc(CArchive& ar) override;
};
