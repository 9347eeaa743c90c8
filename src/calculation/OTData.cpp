#include "calculation/OTData.h"

void COTData::SetSize(int n)
{
    m_values.resize(n > 0 ? static_cast<size_t>(n) : 0, 0.0);
}

void COTData::SetValue(int i, double v)
{
    if (i >= 0 && i < GetSize())
        m_values[static_cast<size_t>(i)] = v;
}

double COTData::GetValue(int i) const
{
    return i >= 0 && i < GetSize() ? m_values[static_cast<size_t>(i)] : 0.0;
}

int COTData::Fill(double v, int n)
{
    if (n > 0)
        m_values.resize(static_cast<size_t>(n));
    for (double& value : m_values)
        value = v;
    return GetSize();
}
