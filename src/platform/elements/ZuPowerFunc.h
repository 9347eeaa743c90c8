#pragma once
// The input-power function of one subsystem (the power code is its type code): a vector function
// over the one-entry table of that subsystem.
#include <string>

#include "platform/elements/ZuVecFunc.h"

class CZuPowerFunc : public CZuVecFunc
{
    DECLARE_SERIAL(CZuPowerFunc)
public:
    CZuPowerFunc();
    CZuPowerFunc(const std::string& name, const std::string& subsystem, int dataCount, CMElement* parent, int type);
    ~CZuPowerFunc() override;

    using CZuVecFunc::GetSubsystem;
    // The subsystem the function belongs to.
    std::string GetSubsystem() const { return GetSubsystem(0); }

    void Serialize(CArchive& ar) override;

protected:
    const char* TextTag() const override { return "ZuPowerFunc"; }
};
