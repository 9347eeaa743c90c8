#pragma once
// How steadily an engine sweeps its speed, block by block: the pulse signal is cut into analysis
// blocks of the RPM detection's length, and each block gives the spread of its pulse-interval
// RPMs (largest minus smallest). A sweep that an acquisition can follow keeps every spread below
// the configuration's RPM margin. The run-up diagnosis window draws these values.
#include <vector>

class CDAQConfig;
class COctaveManager;

class CAccelRpmAnalysis
{
public:
    // Not owned; set before Reset.
    void SetDAQConfig(const CDAQConfig* config) { m_config = config; }
    const CDAQConfig* GetDAQConfig() const { return m_config; }
    void SetBands(const COctaveManager* bands) { m_bands = bands; }
    // Negative: take the configuration's RPM ratio and pulses per revolution.
    void SetEngineCount(int count) { m_engineCount = count; }
    void SetPulseCount(int count) { m_pulseCount = count; }

    // Nothing consumed, no values; the block size from the detection over the bands at the
    // configuration's sampling frequency, and the point count of the configuration's time span
    // (whole part of fs x span + 0.5, in whole blocks).
    void Reset();
    // Analyses every whole block of the n samples after those already consumed; the rest stays
    // unconsumed. Returns the number of values added.
    int Analyse(const float* samples, int n);

    const std::vector<float>& Values() const { return m_values; }
    int GetBlockSize() const { return m_blockSize; }
    int GetPointCount() const { return m_pointCount; }
    int GetConsumed() const { return m_consumed; }
    int GetEngineCount() const;
    int GetPulseCount() const;
    // The allowed spread per block; 0 without a configuration.
    double GetMargin() const;
    // The values over the point count (0.0 beyond the analysed blocks).
    std::vector<double> Series() const;

private:
    const CDAQConfig* m_config = nullptr;
    const COctaveManager* m_bands = nullptr;
    int m_engineCount = -1;
    int m_pulseCount = -1;
    int m_consumed = 0;
    int m_blockSize = 0;
    int m_pointCount = 0;
    std::vector<float> m_values;
};
