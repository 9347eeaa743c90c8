#pragma once
// The calculation of one engine speed of an experiment project: one CCalcExcit per excitation,
// the steps run over them, and the band and order levels gathered per excitation and channel.
// Not stored.
#include <string>
#include <vector>

#include "platform/elements/DataWriter.h"
#include "platform/elements/MElement.h"

class CCalcExcit;
class CCalcProjectManager;
class CExcitation;
class CExpProject;

class CCalcProject : public CMElement, public IDataWriter
{
    DECLARE_DYNAMIC(CCalcProject)

public:
    using Levels = std::vector<float>;

    // Named "%d RPM"; the experiment project is the manager's.
    CCalcProject(int rpm, CCalcProjectManager* manager);
    ~CCalcProject() override;

    int GetRpm() const { return m_rpm; }
    CExpProject* GetExpProject() const { return m_project; }
    CCalcExcit* GetExcit(int i) const;

    // One excitation element per excitation of the experiment project (with their data sets and
    // channels); the result arrays get one entry per excitation.
    void CreateExcitations();

    // The steps over every excitation, or only the one whose source is filter.
    void LoadRawData(const CExcitation* filter = nullptr);
    void ComputeFFT(const CExcitation* filter = nullptr);
    void Integrate(const CExcitation* filter = nullptr);
    void ComputeBandLevels(const CExcitation* filter = nullptr);
    void ComputeOrderLevels(const CExcitation* filter = nullptr);
    void AverageChannels(const CExcitation* filter = nullptr);
    void AverageAll(const CExcitation* filter = nullptr);
    void AverageOrderChannels(const CExcitation* filter = nullptr);
    void AverageOrderAll(const CExcitation* filter = nullptr);
    void Reset(const CExcitation* filter = nullptr);
    void CollectBandResults(const CExcitation* filter = nullptr);
    void CollectOrderResults(const CExcitation* filter = nullptr);

    // [excitation][band], [excitation][channel][band], and the same by order.
    const std::vector<Levels>& GetSSData() const { return m_ssData; }
    const std::vector<std::vector<Levels>>& GetSSLPData() const { return m_sslpData; }
    const std::vector<Levels>& GetOrderData() const { return m_orderData; }
    const std::vector<std::vector<Levels>>& GetChannelOrderData() const { return m_channelOrderData; }
    const std::vector<Levels>& GetOrderFreqData() const { return m_orderFreqs; }

    int WriteDump(CStdioFile& file, const std::string& param) override;

private:
    template <class Step>
    void ForEach(const CExcitation* filter, Step step);

    int m_rpm;
    CExpProject* m_project;
    std::vector<Levels> m_ssData;
    std::vector<std::vector<Levels>> m_sslpData;
    std::vector<Levels> m_orderData;
    std::vector<std::vector<Levels>> m_channelOrderData;
    std::vector<Levels> m_orderFreqs;
};
