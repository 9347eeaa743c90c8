#include "spectral/RPMOptions.h"

#include <cmath>

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CRPMOptions, CObject, 1)

namespace {
// Whether a range min..max by step gives a finite, bounded axis. A step that is not positive, or
// too small to move the accumulated value, would never reach max.
template <class T>
bool RangeIsUsable(T min, T max, T step)
{
    if (!(step > 0) || !std::isfinite(min) || !std::isfinite(max) || !std::isfinite(step))
        return false;
    if (min > max)
        return true; // empty, but harmless
    if ((static_cast<double>(max) - static_cast<double>(min)) / static_cast<double>(step) + 1.0 >
        static_cast<double>(CRPMOptions::kMaxRpmCount))
        return false;
    return true;
}
} // namespace

CRPMOptions::CRPMOptions(const CRPMOptions& other) : CObject()
{
    *this = other;
}

CRPMOptions& CRPMOptions::operator=(const CRPMOptions& other)
{
    if (this != &other) {
        m_nMode = other.m_nMode;
        m_fRpmMin = other.m_fRpmMin;
        m_fRpmMax = other.m_fRpmMax;
        m_fRpmStep = other.m_fRpmStep;
        m_fListStep = other.m_fListStep;
        m_rpmList = other.m_rpmList;
    }
    return *this;
}

float CRPMOptions::GetRpmStep() const
{
    if (m_nMode == modeRange)
        return m_fRpmStep;
    if (m_nMode == modeList)
        return m_fListStep;
    return 0.0f;
}

bool CRPMOptions::SetRpmStep(float step)
{
    if (!(step > 0.0f) || !std::isfinite(step))
        return false;
    m_fRpmStep = step;
    return true;
}

bool CRPMOptions::SetListStep(float step)
{
    if (!(step > 0.0f) || !std::isfinite(step))
        return false;
    m_fListStep = step;
    return true;
}

bool CRPMOptions::SetRange(float min, float max, float step)
{
    if (!(step > 0.0f) || !std::isfinite(step))
        return false;
    m_nMode = modeRange;
    m_fRpmMin = min;
    m_fRpmMax = max;
    m_fRpmStep = step;
    return true;
}

int CRPMOptions::MakeRpmArray(std::vector<float>& out) const
{
    out.clear();
    if (m_nMode == modeRange) {
        if (!RangeIsUsable(m_fRpmMin, m_fRpmMax, m_fRpmStep))
            return 0;
        for (float v = m_fRpmMin; v <= m_fRpmMax; v = v + m_fRpmStep) {
            out.push_back(v);
            // Far from zero a small step no longer moves a float: stop rather than spin.
            if (v + m_fRpmStep <= v || static_cast<int>(out.size()) >= kMaxRpmCount)
                break;
        }
    } else if (m_nMode == modeList) {
        out = m_rpmList;
    }
    return static_cast<int>(out.size());
}

int CRPMOptions::MakeRpmArrayD(std::vector<double>& out) const
{
    out.clear();
    if (m_nMode == modeRange) {
        const double min = m_fRpmMin, max = m_fRpmMax, step = m_fRpmStep;
        if (!RangeIsUsable(min, max, step))
            return 0;
        for (double v = min; v <= max; v = v + step) {
            out.push_back(v);
            if (v + step <= v || static_cast<int>(out.size()) >= kMaxRpmCount)
                break;
        }
    } else if (m_nMode == modeList) {
        out.assign(m_rpmList.begin(), m_rpmList.end());
    }
    return static_cast<int>(out.size());
}

bool CRPMOptions::IsEqual(const CRPMOptions& other) const
{
    if (m_nMode != other.m_nMode)
        return false;
    if (m_nMode == modeRange)
        return m_fRpmMin == other.m_fRpmMin && m_fRpmMax == other.m_fRpmMax && m_fRpmStep == other.m_fRpmStep;
    if (m_nMode == modeList)
        return m_fListStep == other.m_fListStep && m_rpmList == other.m_rpmList;
    return false;
}

void CRPMOptions::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_nMode << m_fRpmMin << m_fRpmMax << m_fRpmStep << m_fListStep;
        ar.WriteCount(static_cast<uint32_t>(m_rpmList.size()));
        for (float v : m_rpmList)
            ar << v;
    } else {
        ar >> m_nMode >> m_fRpmMin >> m_fRpmMax >> m_fRpmStep >> m_fListStep;
        const uint32_t n = ar.ReadCount(sizeof(float));
        m_rpmList.assign(n, 0.0f);
        for (uint32_t i = 0; i < n; ++i)
            ar >> m_rpmList[i];
    }
}
