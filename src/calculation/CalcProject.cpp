#include "calculation/CalcProject.h"

#include "calculation/CalcExcit.h"
#include "calculation/CalcProjectManager.h"
#include "experiments/ExpProject.h"
#include "experiments/Excitation.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"

IMPLEMENT_DYNAMIC(CCalcProject, CMElement)

CCalcProject::CCalcProject(int rpm, CCalcProjectManager* manager)
    : CMElement(Format("%d RPM", rpm), manager, -1), m_rpm(rpm), m_project(manager ? manager->GetExpProject() : nullptr)
{}

CCalcProject::~CCalcProject() = default;

CCalcExcit* CCalcProject::GetExcit(int i) const
{
    return ElementCast<CCalcExcit>(GetChild(i));
}

void CCalcProject::CreateExcitations()
{
    if (m_project)
        for (int i = 0; i < m_project->GetChildCount(); ++i)
            if (auto* excitation = ElementCast<CExcitation>(m_project->GetChild(i)))
                AddChild(std::make_unique<CCalcExcit>(excitation, this))->CreateChildren();
    const size_t n = static_cast<size_t>(GetChildCount());
    m_ssData.assign(n, {});
    m_sslpData.assign(n, {});
    m_orderData.assign(n, {});
    m_channelOrderData.assign(n, {});
    m_orderFreqs.assign(n, {});
}

template <class Step>
void CCalcProject::ForEach(const CExcitation* filter, Step step)
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (CCalcExcit* excit = GetExcit(i); excit && (!filter || excit->GetSource() == filter))
            step(static_cast<size_t>(i), *excit);
}

void CCalcProject::LoadRawData(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.LoadRawData(); });
}
void CCalcProject::ComputeFFT(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.ComputeFFT(); });
}
void CCalcProject::Integrate(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.Integrate(); });
}
void CCalcProject::ComputeBandLevels(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.ComputeBandLevels(); });
}
void CCalcProject::ComputeOrderLevels(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.ComputeOrderLevels(); });
}
void CCalcProject::AverageChannels(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.AverageChannels(); });
}
void CCalcProject::AverageAll(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.AverageAll(); });
}
void CCalcProject::AverageOrderChannels(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.AverageOrderChannels(); });
}
void CCalcProject::AverageOrderAll(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.AverageOrderAll(); });
}
void CCalcProject::Reset(const CExcitation* f)
{
    ForEach(f, [](size_t, CCalcExcit& e) { e.Reset(); });
}

void CCalcProject::CollectBandResults(const CExcitation* f)
{
    ForEach(f, [this](size_t i, CCalcExcit& e) {
        m_ssData[i] = e.GetBandLevels();
        m_sslpData[i] = e.GetChannelBandLevels();
    });
}

void CCalcProject::CollectOrderResults(const CExcitation* f)
{
    ForEach(f, [this](size_t i, CCalcExcit& e) {
        m_orderData[i] = e.GetOrderLevels();
        m_channelOrderData[i] = e.GetChannelOrderLevels();
        m_orderFreqs[i] = e.GetOrderFreqs();
    });
}

int CCalcProject::WriteDump(CStdioFile& file, const std::string&)
{
    file.WriteString(Format("[%s]\n", GetName().c_str()));
    file.WriteString("##### m_SSData #####\n\n");
    for (size_t e = 0; e < m_ssData.size(); ++e)
        for (size_t b = 0; b < m_ssData[e].size(); ++b)
            file.WriteString(Format("%d\t%d\t%e\n", static_cast<int>(e), static_cast<int>(b), double(m_ssData[e][b])));
    file.WriteString("\n##### m_SSLPData #####\n\n");
    for (size_t e = 0; e < m_sslpData.size(); ++e)
        for (size_t c = 0; c < m_sslpData[e].size(); ++c)
            for (size_t b = 0; b < m_sslpData[e][c].size(); ++b)
                file.WriteString(Format("%d\t%d\t%d\t%e\n", static_cast<int>(e), static_cast<int>(c),
                                        static_cast<int>(b), double(m_sslpData[e][c][b])));
    return 1;
}
