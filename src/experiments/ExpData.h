#pragma once
// One measured channel of one data set: the samples of one acquisition channel for one measured
// block (physical units), the sampling frequency, a copy of the sensor on the channel, the local
// point, the parameters of RPM detection, the RPM intervals found from the data set's pulse
// channel (built on first use, never stored) and the last computed spectrum.
//
// The samples are the bulk of every project: they are held once, in one array, and travel through
// the archive as one block.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "experiments/SensorInfo.h"
#include "platform/base/DefaultInitAllocator.h"
#include "platform/base/HugePageAllocator.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/MElement.h"
#include "spectral/RpmDetection.h"

class CExpDataSet;

// A channel record's samples; read straight from files without being cleared first, in blocks
// that take huge pages when they are large.
using CSampleArray = std::vector<float, CDefaultInitAllocator<float, CHugePageAllocator<float>>>;
class CExpProject;
class CRPMOptions;
class CSensor;

class CExpData : public CMElement, public IDataWriter
{
    DECLARE_SERIAL(CExpData)

public:
    static constexpr uint32_t kSchema = 3;
    // What the magnitude getters give for a line outside the spectrum (the negative largest float).
    static constexpr float kNoMagnitude = -3.4028235e38f;

    CExpData(); // the class factory: empty name, no parent, type -1
    CExpData(const std::string& name, CMElement* parent, int type);
    ~CExpData() override;

    float GetSamplingFrequency() const { return m_fs; }
    void SetSamplingFrequency(float fs) { m_fs = fs; }
    int GetLocalPointNumber() const { return m_localPoint; }
    void SetLocalPointNumber(int n) { m_localPoint = n; }
    // A negative count takes the acquisition configuration's value (when the record is in a project).
    int GetEngineCount() const { return m_engineCount; }
    void SetEngineCount(int n);
    int GetPulseCount() const { return m_pulseCount; }
    void SetPulseCount(int n);
    // 0.0 takes the acquisition configuration's value.
    float GetDetectionLevel() const { return m_detectionLevel; }
    void SetDetectionLevel(float level);
    float GetGearCount() const { return m_gearCount; }
    void SetGearCount(float n) { m_gearCount = n; }

    // The samples, or null unless the record hangs under a data set that hangs in a project.
    float* GetData();
    // The samples wherever the record hangs.
    const CSampleArray& GetSamples() const { return m_samples; }
    int GetSampleCount() const { return static_cast<int>(m_samples.size()); }
    // Resizes the samples (new ones 0.0); the acquisition fills them through GetData.
    void SetSampleCount(int n);
    void SetSamples(const float* samples, int n);

    // The sensor record; 0 when the record has no sensor.
    int GetSensorInfo(tagSENSORINFO& info) const;
    int GetChannelInfo(CHANNELINFO& info) const;
    CSensor* GetSensor() const { return m_sensor.get(); }
    // Takes over a sensor record; the samples follow a change of calibration (below). 0 without sensor.
    int ReplaceSensorInfo(const tagSENSORINFO& info);

    // 1 under the RPM signal data; else whether the project lets this local point take part.
    int CheckLocalPoint() const;
    // The data set above the record and the project above that (null when the record is elsewhere).
    CExpDataSet* GetDataSet() const;
    CExpProject* GetExpProject() const;

    double GetPeak() const;
    double GetMaxVoltage() const;
    double GetEnergy() const;
    int IsOverLimit(float ratio) const;

    // RPM intervals of the data set's pulse channel mapped onto an RPM grid (the options' axis, or
    // the acquisition's range when null); built once, then the count is returned.
    int DetectRpmInfo(const CRPMOptions* options = nullptr);
    // The grid intervals (built with the acquisition's range on first use).
    const CRPMInfoListInt& GetRpmInfoList();
    // Every pulse interval of this record's own samples.
    int DetectRpmInfoInt(CRPMInfoListInt& list) const;
    int DetectRpmInfoFloat(CRPMInfoListFloat& list) const;
    // Maps float intervals onto the grid RPMs: each grid value takes the first unused interval at
    // or above it (start rounded, length 0).
    static void MapToGrid(const CRPMInfoListFloat& intervals, const std::vector<float>& grid, CRPMInfoListInt& out);

    // The block of samples around the pulse interval of an RPM; 0 when there is none.
    int GetRpmBlock(double rpm, const float*& block, int& length);
    // Computes and caches the spectrum of the RPM's block (the whole record at constant RPM).
    int CalcSpectrum(double rpm);
    double GetSpectrumRpm() const { return m_spectrumRpm; }
    float GetLineSpacing() const { return m_df; }
    int GetLineCount() const { return m_lineCount; }
    float GetLineMagnitude(int i) const;
    // Mean magnitude of count lines from first on; kNoMagnitude when they do not lie in the spectrum.
    float GetBandMagnitude(int first, int count) const;

    int WriteDump(CStdioFile& file, const std::string& param) override;

    void Serialize(CArchive& ar) override;

private:
    // The pulse channel of this record's data set (child 0 of the RPM signal data's data set of the
    // same name); null when the tree has none.
    CExpData* FindPulseChannel() const;
    const CRPMInfoListInt& BuildRpmInfo(const CRPMOptions* options);

    double m_spectrumRpm = 0.0;
    float m_df = 0.0f;
    int m_lineCount = 0;
    std::vector<float> m_re;
    std::vector<float> m_im;
    CSampleArray m_samples;
    std::unique_ptr<CRPMInfoListInt> m_rpmInfo;
    float m_fs = 0.0f;
    std::unique_ptr<CSensor> m_sensor;
    int32_t m_localPoint = -1;
    int32_t m_engineCount = 0;
    int32_t m_pulseCount = 0;
    float m_detectionLevel = 0.0f;
    float m_gearCount = 1.0f;
};
