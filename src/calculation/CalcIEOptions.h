#pragma once
// Input-energy calculation options of an analysis project.
#include <cstdint>

#include "platform/archive/Archive.h"

class CCalcIEOptions : public CObject
{
    DECLARE_SERIAL(CCalcIEOptions)

public:
    static constexpr uint32_t kSchema = 2;

    CCalcIEOptions() = default;
    CCalcIEOptions(const CCalcIEOptions&) = default;
    CCalcIEOptions& operator=(const CCalcIEOptions&) = default;
    bool operator==(const CCalcIEOptions& o) const
    {
        return m_useSymmetric == o.m_useSymmetric && m_rpmMargin == o.m_rpmMargin && m_factor == o.m_factor;
    }

    void Serialize(CArchive& ar) override;

    // 1: a subsystem without experiments borrows those of its symmetric subsystem.
    int GetUseSymmetric() const { return m_useSymmetric; }
    void SetUseSymmetric(int v) { m_useSymmetric = v; }
    // Above 0: measured energies and levels are smoothed over this RPM width.
    float GetRpmMargin() const { return m_rpmMargin; }
    void SetRpmMargin(float v) { m_rpmMargin = v; }
    double GetFactor() const { return m_factor; }
    void SetFactor(double v) { m_factor = v; }

private:
    int32_t m_useSymmetric = 1;
    float m_rpmMargin = 0.0f;
    double m_factor = 0.3321125;
};
