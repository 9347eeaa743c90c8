#pragma once
// The RPM axis of an analysis over engine speed: a regular range (mode 0) or an explicit list of
// RPM values (mode 1). Analysis projects store it and the automation object model exposes it.
#include <cstdint>
#include <vector>

#include "platform/archive/Object.h"

class CRPMOptions : public CObject
{
    DECLARE_SERIAL(CRPMOptions)
public:
    enum
    {
        modeRange = 0,
        modeList = 1
    };

    // Axes longer than this are refused (empty axis): a forged file must not make us allocate
    // gigabytes or loop for hours.
    static constexpr int kMaxRpmCount = 1000000;

    CRPMOptions() = default;
    CRPMOptions(const CRPMOptions& other);
    CRPMOptions& operator=(const CRPMOptions& other);
    ~CRPMOptions() override = default;

    int32_t GetMode() const { return m_nMode; }
    void SetMode(int32_t mode) { m_nMode = mode; }
    float GetRpmMin() const { return m_fRpmMin; }
    float GetRpmMax() const { return m_fRpmMax; }
    void SetRpmMin(float v) { m_fRpmMin = v; }
    void SetRpmMax(float v) { m_fRpmMax = v; }
    // The range step in mode 0, the list step in mode 1, 0.0 in any other mode.
    float GetRpmStep() const;
    // Steps of 0 or less (and NaN) would give an endless axis: they are refused and the old step
    // stays. Returns false when refused.
    bool SetRpmStep(float step);
    bool SetListStep(float step);
    float GetListStep() const { return m_fListStep; }
    // Sets mode 0 with the range; refused (nothing changes) for a step of 0 or less.
    bool SetRange(float min, float max, float step);
    std::vector<float>* GetRpmList() { return &m_rpmList; }
    const std::vector<float>* GetRpmList() const { return &m_rpmList; }

    // Empty out and fill it with the analysis RPMs; return the count. Mode 0: from min while not
    // above max by step (float accumulation here, double accumulation from the float min in the D
    // form); mode 1: the list; other modes, or a step that cannot advance: empty.
    int MakeRpmArray(std::vector<float>& out) const;
    int MakeRpmArrayD(std::vector<double>& out) const;

    bool IsEqual(const CRPMOptions& other) const;
    bool operator==(const CRPMOptions& other) const { return IsEqual(other); }
    bool operator!=(const CRPMOptions& other) const { return !IsEqual(other); }

    void Serialize(CArchive& ar) override;

private:
    int32_t m_nMode = modeRange;
    float m_fRpmMin = 1000.0f;
    float m_fRpmMax = 6000.0f;
    float m_fRpmStep = 50.0f;
    std::vector<float> m_rpmList;
    float m_fListStep = 50.0f;
};
