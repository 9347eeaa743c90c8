#pragma once
// The acquisition settings of a DAQ project (and the project-wide ones of the container):
// sampling, analysis frequency range, RPM pulse signal and the run-up / constant-speed windows.
#include <cstdint>

#include "platform/archive/Archive.h"

class CDAQConfig : public CObject
{
    DECLARE_SERIAL(CDAQConfig)

public:
    // The version byte we write; older archives back to 4 are read.
    static constexpr uint8_t kVersion = 5;

    CDAQConfig();
    CDAQConfig(const CDAQConfig&) = default;
    CDAQConfig& operator=(const CDAQConfig&) = default;

    void Copy(const CDAQConfig& other) { *this = other; }
    void Serialize(CArchive& ar) override;

    float GetMaxFreq() const { return m_maxFreq; }
    void SetMaxFreq(float v) { m_maxFreq = v; }
    float GetSamplingFreq() const { return m_samplingFreq; }
    void SetSamplingFreq(float v) { m_samplingFreq = v; }
    float GetBandLimit() const { return m_bandLimit; }
    void SetBandLimit(float v) { m_bandLimit = v; }
    int GetRpmChannel() const { return m_rpmChannel; }
    void SetRpmChannel(int v) { m_rpmChannel = v; }
    float GetBandAveFactor() const { return m_levelFraction; }
    void SetBandAveFactor(float v) { m_levelFraction = v; }
    float GetPulsesPerRev() const { return m_pulsesPerRev; }
    void SetPulsesPerRev(float v) { m_pulsesPerRev = v; }
    float GetRpmRatio() const { return m_rpmRatio; }
    void SetRpmRatio(float v) { m_rpmRatio = v; }
    float GetFactor3() const { return m_factor3; }
    void SetFactor3(float v) { m_factor3 = v; }
    int GetRpmLow() const { return m_rpmLow; }
    void SetRpmLow(int v) { m_rpmLow = v; }
    int GetRpmHigh() const { return m_rpmHigh; }
    void SetRpmHigh(int v) { m_rpmHigh = v; }
    int GetRpmMargin() const { return m_rpmMargin; }
    void SetRpmMargin(int v) { m_rpmMargin = v; }
    float GetTimeSpan() const { return m_timeSpan; }
    void SetTimeSpan(float v) { m_timeSpan = v; }
    // The constant RPM is kept as a float and handed out truncated.
    int GetRpmRef() const { return static_cast<int>(m_rpmRef); }
    void SetRpmRef(int v) { m_rpmRef = static_cast<float>(v); }
    float GetMeasureTime() const { return m_measureTime; }
    // Rounds the time up to a whole number of acquisition blocks.
    void SetMeasureTime(float seconds);
    int GetOption60() const { return m_option60; }
    void SetOption60(int v) { m_option60 = v; }
    int GetVersion5Field() const { return m_blockMode; }
    void SetVersion5Field(int v) { m_blockMode = v; }

    bool operator==(const CDAQConfig& o) const;

private:
    float m_maxFreq = 5000.0f;
    float m_samplingFreq = 16000.0f;
    float m_bandLimit = 8000.0f;
    int32_t m_rpmChannel = 15;
    float m_levelFraction = 0.8f;
    float m_pulsesPerRev = 1.0f;
    float m_rpmRatio = 1.0f;
    float m_factor3 = 1.0f;
    int32_t m_rpmLow = 1000;
    int32_t m_rpmHigh = 6000;
    int32_t m_rpmMargin = 50;
    float m_timeSpan = 10.0f;
    float m_rpmRef = 3000.0f;
    float m_measureTime = 10.0f;
    int32_t m_option60 = 0;
    int32_t m_blockMode = 0;
};
