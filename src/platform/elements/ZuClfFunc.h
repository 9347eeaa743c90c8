#pragma once
// The coupling-loss-factor function of one subsystem pair: per band, at the index of subsystem a
// the CLF from a to b, at the index of subsystem b the CLF from b to a. A vector function over the
// two-entry table (a, b).
#include <string>

#include "platform/elements/ZuVecFunc.h"

class CZuClfFunc : public CZuVecFunc
{
    DECLARE_SERIAL(CZuClfFunc)
public:
    CZuClfFunc();
    CZuClfFunc(const std::string& name, const std::string& a, const std::string& b, int dataCount, CMElement* parent,
               int type);
    ~CZuClfFunc() override;

    // Version byte, then the vector function part.
    void Serialize(CArchive& ar) override;

protected:
    const char* TextTag() const override { return "ZuClfFunc"; }
};
