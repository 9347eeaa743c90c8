#pragma once
// The damping-loss-factor function (total or intrinsic, by its type code) of one subsystem: a
// vector function over the one-entry table of that subsystem.
#include <string>

#include "platform/elements/ZuVecFunc.h"

class CZuDlfFunc : public CZuVecFunc
{
    DECLARE_SERIAL(CZuDlfFunc)
public:
    CZuDlfFunc();
    CZuDlfFunc(const std::string& name, const std::string& subsystem, int dataCount, CMElement* parent, int type);
    ~CZuDlfFunc() override;

    using CZuVecFunc::GetSubsystem;
    // The subsystem the function belongs to.
    std::string GetSubsystem() const { return GetSubsystem(0); }

    void Serialize(CArchive& ar) override;

protected:
    const char* TextTag() const override { return "ZuDlfFunc"; }
};
