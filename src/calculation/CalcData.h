#pragma once
// The calculation mirror of one measured channel for the RPM of its calculation project: the raw
// block cut from the channel, its windowed spectrum (optionally integrated), the band levels over
// the experiment project's band set and the order levels over the options' orders. Not stored.
#include <string>
#include <vector>

#include "platform/elements/DataWriter.h"
#include "platform/elements/MElement.h"

class CCalcProject;
class CExpData;
class CExpProject;

class CCalcData : public CMElement, public IDataWriter
{
    DECLARE_DYNAMIC(CCalcData)

public:
    // A level that cannot be computed (the negative largest float); averages skip it.
    static constexpr float kInvalidLevel = -3.4028235e38f;

    CCalcData(CExpData* source, CMElement* parent);
    ~CCalcData() override;

    CExpData* GetSource() const { return m_source; }
    // The calculation project three levels up (excitation, data set, channel) and its experiment
    // project; null when the element hangs elsewhere.
    CCalcProject* GetCalcProject() const;
    CExpProject* GetExpProject() const;

    // The steps; each returns 1 on success.
    int LoadRawData();
    int ComputeFFT();
    int Integrate();
    int ComputeBandLevels();
    int ComputeOrderLevels();
    void Reset();
    // Frees the block storage the calling thread keeps for the next RPM's channels.
    static void ReleaseSpareStorage();

    int GetLineCount() const { return m_lineCount; }
    float GetLineSpacing() const { return m_df; }
    int IsFFTDone() const { return m_fftDone; }
    const std::vector<float>& GetRawData() const { return m_raw; }
    const std::vector<float>& GetReal() const { return m_re; }
    const std::vector<float>& GetImag() const { return m_im; }
    const std::vector<float>& GetBandLevels() const { return m_bandLevels; }
    const std::vector<float>& GetOrderLevels() const { return m_orderLevels; }
    const std::vector<float>& GetOrderFreqs() const { return m_orderFreqs; }

    // 1 when the channel takes part (an RPM signal channel or a selected local point).
    int CheckLocalPoint() const;

    // sqrt(2 * sum |X_k|^2) over lines first .. first+count-1 of a spectrum of lineCount lines;
    // kInvalidLevel unless the whole band lies inside the spectrum.
    static float BandLevel(const std::vector<float>& re, const std::vector<float>& im, int lineCount, int first,
                           int count);

    int WriteDump(CStdioFile& file, const std::string& param) override;

private:
    CExpData* m_source;
    int m_lineCount = 0;
    float m_df = 0.0f;
    int m_fftDone = 0;
    std::vector<float> m_raw;
    std::vector<float> m_re;
    std::vector<float> m_im;
    std::vector<float> m_bandLevels;
    std::vector<float> m_orderLevels;
    std::vector<float> m_orderFreqs;
};
