#pragma once
// The acquisition configuration of a DAQ project: analysis frequency (and from it the sampling
// frequency and the hardware's band limit), the RPM pulse channel of the connected units, the
// level, the pulses per revolution and the RPM ratio. OK checks every value; unless the dialog
// only edits the configuration, it then applies the sampling to the units and takes back what
// they accepted.
#include "platform/ui/ZuDialog.h"

#include <vector>

class CDAQConfig;
class CMultiQMXInterface;
class QComboBox;
class QLineEdit;

class CDlgDAQConfig : public CZuDialog
{
    Q_OBJECT

public:
    // daq: the units the settings apply to; null means the program's interface (CDAQ).
    explicit CDlgDAQConfig(CMultiQMXInterface* daq = nullptr, QWidget* parent = nullptr);

    // The caller's part: the dialog's values from a configuration (level as a percentage), and
    // back after OK (with units: the frequencies, channel and level; configuration only: pulses
    // and ratio, each only when it changed).
    void LoadFrom(const CDAQConfig& config);
    void StoreTo(CDAQConfig& config) const;
    // The band frequencies offered for the analysis range (the open project's band set).
    void SetBandFrequencies(const std::vector<double>& freqs) { m_bandFreqs = freqs; }

    // The smallest of 12800, 25600 and 51200 Hz that is at least 2.56 x the max frequency; else
    // 102400 Hz.
    static float SamplingFreqFor(float maxFreq);
    static int BandLimitFor(float samplingFreq) { return static_cast<int>(0.45f * samplingFreq); }

    float m_fSamplingFreq = 0.0f;
    float m_fBandLimit = 0.0f;
    int m_nRpmChannel = -1;
    float m_fLevel = 80.0f;
    float m_fPulsesPerRev = 1.0f;
    float m_fRpmRatio = 1.0f;
    int m_nFreqRangeMode = 0;
    int m_bConfigOnly = 0;
    int m_nChannelCount = 16;
    float m_fMaxFreq = 5000.0f;

    QComboBox* FrequencyCombo() const { return m_freq; }
    QComboBox* ChannelCombo() const { return m_channel; }
    QLineEdit* Edit(int id) const;

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    CMultiQMXInterface* Units() const;
    void OnSelectFrequency(int index);
    bool ApplyToUnits();

    CMultiQMXInterface* m_daq;
    std::vector<double> m_bandFreqs;
    QComboBox* m_freq;
    QComboBox* m_channel;
    QLineEdit* m_samplingEdit;
    QLineEdit* m_bandLimitEdit;
    QLineEdit* m_levelEdit;
    QLineEdit* m_pulsesEdit;
    QLineEdit* m_ratioEdit;
    // The stored pulses and ratio (configuration only writes back what changed).
    float m_storedPulses = 1.0f;
    float m_storedRatio = 1.0f;
};
