#pragma once
// Dominant paths of one target subsystem over engine speed: one path table (the dominant-path
// data of one solved result) per RPM.
#include <string>

#include "platform/elements/ZuRpmSelFunc.h"

class CZuRpmDpFunc : public CZuRpmSelFunc
{
    DECLARE_SERIAL(CZuRpmDpFunc)
public:
    CZuRpmDpFunc(); // the class factory: empty name, no parent, kind -1
    CZuRpmDpFunc(const std::string& name, CMElement* parent, int kind);
    ~CZuRpmDpFunc() override;

    void SetTargetName(const std::string& name) { m_target = name; }
    std::string GetTargetName() const { return m_target; }

    // The RPM-selection part, then the target name.
    void Serialize(CArchive& ar) override;

private:
    std::string m_target;
};
