#include "calculation/RpmMapView.h"

#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

CRpmMapView::CRpmMapView(const CMElement* element)
{
    m_map = dynamic_cast<const CZuRpmFunc*>(element);
    if (!m_map)
        m_sel = dynamic_cast<const CZuRpmSelFunc*>(element);
}

int CRpmMapView::GetRpmCount() const
{
    return m_map ? m_map->GetRpmCount() : m_sel ? m_sel->GetRpmCount() : 0;
}

double CRpmMapView::GetRpm(int row) const
{
    if (row < 0 || row >= GetRpmCount())
        return 0.0;
    return m_map ? m_map->GetRpm(row) : m_sel->GetRpm(row);
}

int CRpmMapView::FindRpmIndex(double rpm) const
{
    return m_map ? m_map->FindRpmIndex(rpm) : m_sel ? m_sel->FindRpmIndex(rpm) : -1;
}

const CZuFuncElement* CRpmMapView::Row(int row) const
{
    if (m_map)
        return m_map->GetRowFunc(row);
    return m_sel ? dynamic_cast<const CZuFuncElement*>(m_sel->GetRpmData(row)) : nullptr;
}

int CRpmMapView::GetFreqCount() const
{
    if (m_map)
        return m_map->GetFreqCount();
    const CZuFuncElement* first = Row(0);
    return first ? first->GetDataCount() : 0;
}

double CRpmMapView::GetFreq(int point) const
{
    if (point < 0 || point >= GetFreqCount())
        return 0.0;
    if (m_map)
        return m_map->GetFreq(point);
    return Row(0)->DataIndex(point);
}

bool CRpmMapView::Value(int row, int point, double& value) const
{
    if (row < 0 || row >= GetRpmCount() || point < 0)
        return false;
    if (m_map) {
        if (point >= m_map->GetFreqCount())
            return false;
        value = m_map->DataValue(row, point);
        return true;
    }
    const CZuFuncElement* entry = Row(row);
    if (!entry || point >= entry->GetDataCount())
        return false;
    if (const auto* f = dynamic_cast<const CZuFunc*>(entry)) {
        value = f->DataValue(point);
        return true;
    }
    // A table of several subsystems: the first column is the result's own.
    if (const auto* v = dynamic_cast<const CZuVecFunc*>(entry); v && v->GetSubsystemCount() > 0) {
        value = v->DataValue(point, 0);
        return true;
    }
    return false;
}

std::string CRpmMapView::GetLabel() const
{
    if (m_map)
        return m_map->GetLabel();
    if (const auto* multi = dynamic_cast<const CZuRpmMultiVecFunc*>(m_sel))
        return multi->GetLabel();
    return std::string();
}
