#pragma once
// The calculation mirror of one excitation: its data sets, and the averages of their channels'
// levels, per channel name over the data sets and over all channels. Channel k is the k-th
// channel of the first data set whose element type is that of the set's first channel; channels
// of the other data sets are matched to it by name.
#include <string>
#include <vector>

#include "platform/elements/DataWriter.h"
#include "platform/elements/MElement.h"

class CCalcDataSet;
class CExcitation;

class CCalcExcit : public CMElement, public IDataWriter
{
    DECLARE_DYNAMIC(CCalcExcit)

public:
    CCalcExcit(CExcitation* source, CMElement* parent);
    ~CCalcExcit() override;

    CExcitation* GetSource() const { return m_source; }
    // One data set element per data set of the source, each with its channels.
    void CreateChildren();
    CCalcDataSet* GetDataSet(int i) const;

    void LoadRawData();
    void ComputeFFT();
    void Integrate();
    void ComputeBandLevels();
    void ComputeOrderLevels();

    // Per channel name: the mean over the data sets of the valid levels (0 where none).
    void AverageChannels();
    // Per band: the mean of the channel averages above 0 (0 where none).
    void AverageAll();
    void AverageOrderChannels();
    void AverageOrderAll();
    // Resets every channel and empties the levels.
    void Reset();

    // The channel names the averages are indexed by.
    std::vector<std::string> GetChannelNames() const;

    const std::vector<std::vector<float>>& GetChannelBandLevels() const { return m_channelBands; }
    const std::vector<float>& GetBandLevels() const { return m_bands; }
    const std::vector<std::vector<float>>& GetChannelOrderLevels() const { return m_channelOrders; }
    const std::vector<float>& GetOrderLevels() const { return m_orders; }
    const std::vector<float>& GetOrderFreqs() const { return m_orderFreqs; }

    int WriteDump(CStdioFile& file, const std::string& param) override;

private:
    template <class Step>
    void ForEachDataSet(Step step);
    void AverageChannelsOf(bool orders);

    CExcitation* m_source;
    std::vector<std::vector<float>> m_channelBands;
    std::vector<float> m_bands;
    std::vector<std::vector<float>> m_channelOrders;
    std::vector<float> m_orders;
    std::vector<float> m_orderFreqs;
};
