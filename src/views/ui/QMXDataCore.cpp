#include "views/ui/QMXDataCore.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/TALVOProject.h"
#include "experiments/DAQConfig.h"
#include "models/HSEAOptions.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/RPMOptions.h"

#include <algorithm>

CQMXDataCore::CQMXDataCore(CTALVOProject* project)
    : m_project(project), m_items(project ? project->GetZuStdDataList() : nullptr),
      m_bands(project ? project->GetOctaveManager() : nullptr)
{}

CQMXDataCore::~CQMXDataCore() = default;

CBaseProject* CQMXDataCore::GetOwnerProject() const
{
    for (CMElement* e = GetDataElement(); e; e = e->GetParent())
        if (auto* project = dynamic_cast<CBaseProject*>(e))
            return project;
    return nullptr;
}

double CQMXDataCore::GetRpmStep() const
{
    CBaseProject* owner = GetOwnerProject();
    if (auto* daq = dynamic_cast<CDaqProject*>(owner))
        return static_cast<double>(daq->GetDAQConfig()->GetRpmMargin());
    if (auto* analysis = dynamic_cast<CAnalysisProject*>(owner))
        return static_cast<double>(analysis->GetRPMOptions().GetRpmStep());
    return 0.0;
}

void CQMXDataCore::SetSmoothingLength(int length)
{
    SetItem(ITEM_SMOOTHING_LENGTH, length);
    const double step = GetRpmStep();
    m_smoothingWidth = (GetItem(ITEM_SMOOTHING) != 0 && step > 0.0) ? static_cast<int>(length / step) : 0;
}

void CQMXDataCore::SetItem(int id, int value)
{
    if (m_items)
        m_items->SetInt(id, value);
}

int CQMXDataCore::GetItem(int id, int fallback) const
{
    return m_items && m_items->GetData(id) ? m_items->GetInt(id, fallback) : fallback;
}

int CQMXDataCore::GetItem(int id) const
{
    switch (id) {
    case ITEM_SMOOTHING_LENGTH:
        return GetItem(id, kDefaultSmoothingLength);
    case ITEM_LAST_BAND:
        return GetItem(id, GetBandCount() - 1);
    default:
        return GetItem(id, 0);
    }
}

void CQMXDataCore::SetBandRange(int a, int b)
{
    SetItem(ITEM_FIRST_BAND, std::min(a, b));
    SetItem(ITEM_LAST_BAND, std::max(a, b));
}

void CQMXDataCore::GetAppliedBandRange(int& first, int& last) const
{
    if (GetItem(ITEM_AXIS) == 1 && GetItem(ITEM_BAND_RANGE) == 1) {
        first = GetItem(ITEM_FIRST_BAND);
        last = GetItem(ITEM_LAST_BAND);
    } else {
        first = -1;
        last = -1;
    }
}

int CQMXDataCore::GetBandCount() const
{
    return m_bands ? m_bands->GetFreqCount() : 0;
}

bool CQMXDataCore::IsPlotAll() const
{
    return m_options && m_options->HSS_PlotAllData != 0;
}

int CQMXDataCore::GetDecimalPlaces() const
{
    return m_options ? m_options->HSS_DecimalPlaces : 2;
}

int CQMXDataCore::GetCellWidthTwips() const
{
    return (m_options ? m_options->HSS_TableCellWidth : 10) * 100;
}

bool CQMXDataCore::IsShowDataInDB() const
{
    return m_options ? m_options->HSS_ShowDataInDB != 0 : true;
}

bool CQMXDataCore::IsAWeighting() const
{
    return m_options && m_options->WeightingFilter == 1;
}
