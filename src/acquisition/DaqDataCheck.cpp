#include "acquisition/DaqDataCheck.h"

#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "models/HSEARegOptions.h"
#include "platform/elements/MElement.h"
#include "platform/win/WaitCursor.h"

#include <cmath>

CDaqDataCheck::CDaqDataCheck(CExpProject* project)
    : m_project(project), m_inputRange(new CDaqDataError), m_overload(new CDaqDataError),
      m_unknownRange(new CDaqDataError)
{
    Run();
}

CDaqDataCheck::~CDaqDataCheck()
{
    delete m_inputRange;
    delete m_overload;
    delete m_unknownRange;
}

double CDaqDataCheck::GetInputRangeThreshold(float range)
{
    const float tolerance = range * 1.1920929e-7f;
    if (std::fabs(range - 0.1f) <= tolerance)
        return 10000.0;
    if (std::fabs(range - 1.0f) <= tolerance)
        return 1000.0;
    if (std::fabs(range - 10.0f) <= tolerance)
        return 100.0;
    return 0.0;
}

void CDaqDataCheck::AddDataSet(CMElement* set)
{
    if (m_dataSets.Index(set) < 0)
        m_dataSets.Add(set);
}

void CDaqDataCheck::Run()
{
    CWaitCursor wait;
    m_dataSets.Clear();
    m_inputRange->GetList().Clear();
    m_overload->GetList().Clear();
    m_unknownRange->GetList().Clear();
    if (!m_project)
        return;
    const float overload = static_cast<float>(CHSEARegOptions::GetExpDataCheckOverLoad());
    for (int e = 0; e < m_project->GetChildCount(); ++e) {
        auto* excitation = DynamicDowncast<CExcitation>(m_project->GetChild(e));
        for (int s = 0; excitation && s < excitation->GetChildCount(); ++s) {
            auto* set = DynamicDowncast<CExpDataSet>(excitation->GetChild(s));
            for (int c = 0; set && c < set->GetChildCount(); ++c) {
                auto* channel = DynamicDowncast<CExpData>(set->GetChild(c));
                if (!channel)
                    continue;
                CHANNELINFO info;
                const double threshold = channel->GetChannelInfo(info) ? GetInputRangeThreshold(info.Scale) : 0.0;
                if (threshold == 0.0) {
                    m_unknownRange->GetList().Add(channel);
                    AddDataSet(set);
                } else if (channel->GetMaxVoltage() >= threshold) {
                    m_inputRange->GetList().Add(channel);
                    AddDataSet(set);
                }
                if (channel->IsOverLimit(overload)) {
                    m_overload->GetList().Add(channel);
                    AddDataSet(set);
                }
            }
        }
    }
}
