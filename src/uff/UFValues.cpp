#include "uff/UFValues.h"

std::vector<double>& CUFValues::AssignReal(size_t count)
{
    std::vector<std::complex<double>>().swap(m_complexValues);
    m_complex = false;
    m_realValues.assign(count, 0.0);
    return m_realValues;
}

std::vector<std::complex<double>>& CUFValues::AssignComplex(size_t count)
{
    std::vector<double>().swap(m_realValues);
    m_complex = true;
    m_complexValues.assign(count, std::complex<double>());
    return m_complexValues;
}

void CUFValues::Release()
{
    std::vector<double>().swap(m_realValues);
    std::vector<std::complex<double>>().swap(m_complexValues);
    m_complex = false;
}

bool CUFValues::operator==(const CUFValues& other) const
{
    if (size() != other.size())
        return false;
    for (size_t i = 0; i < size(); ++i)
        if ((*this)[i] != other[i])
            return false;
    return true;
}
