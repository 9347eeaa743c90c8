#pragma once
// Dominant paths of one target subsystem over engine order: one by-RPM dominant-path function
// per order.
#include <memory>
#include <string>

#include "spectral/ZuOTSelFunc.h"
#include "spectral/ZuRpmDpFunc.h"

class CZuOTDpFunc : public CZuOTSelFunc
{
    DECLARE_SERIAL(CZuOTDpFunc)
public:
    CZuOTDpFunc(); // the class factory: empty name, no parent, kind -1
    CZuOTDpFunc(const std::string& name, CMElement* parent, int kind);
    ~CZuOTDpFunc() override;

    // Appends an order with its function (owned); null adds nothing and gives false.
    bool AddOrder(double order, std::unique_ptr<CZuRpmDpFunc> function);
    // The function of order i; null outside.
    CZuRpmDpFunc* GetOrderFunc(int i) const;

protected:
    std::unique_ptr<CZuRpmSelFunc> ReadOrderSelFunc(CArchive& ar) override;
};
