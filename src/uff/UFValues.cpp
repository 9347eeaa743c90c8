#include "uff/UFValues.h"

#include <algorithm>
#include <utility>

CUFValues::CUFValues(const CUFValues& other)
{
    *this = other;
}

CUFValues& CUFValues::operator=(const CUFValues& other)
{
    if (this == &other)
        return *this;
    const size_t doubles = other.m_complex ? 2 * other.m_count : other.m_count;
    std::shared_ptr<CUFValueBlock> block = doubles ? CUFValueBlock::Make(doubles) : nullptr;
    if (block)
        std::copy(other.m_data, other.m_data + doubles, block->data());
    Release();
    m_block = std::move(block);
    m_data = m_block ? m_block->data() : nullptr;
    m_count = other.m_count;
    m_complex = other.m_complex;
    return *this;
}

CUFValues::CUFValues(CUFValues&& other) noexcept
{
    *this = std::move(other);
}

CUFValues& CUFValues::operator=(CUFValues&& other) noexcept
{
    if (this == &other)
        return *this;
    m_complex = std::exchange(other.m_complex, false);
    m_count = std::exchange(other.m_count, 0);
    m_data = std::exchange(other.m_data, nullptr);
    m_block = std::move(other.m_block);
    m_prepared = std::move(other.m_prepared);
    m_preparedAt = std::exchange(other.m_preparedAt, nullptr);
    m_preparedDoubles = std::exchange(other.m_preparedDoubles, 0);
    return *this;
}

double* CUFValues::Take(size_t doubles)
{
    std::shared_ptr<CUFValueBlock> block;
    double* data = nullptr;
    if (m_prepared && doubles <= m_preparedDoubles) {
        block = std::move(m_prepared);
        data = m_preparedAt;
    } else if (doubles > 0) {
        block = CUFValueBlock::Make(doubles);
        data = block->data();
    }
    Release();
    m_block = std::move(block);
    m_data = data;
    return data;
}

std::span<double> CUFValues::AssignReal(size_t count)
{
    double* data = Take(count);
    m_complex = false;
    m_count = count;
    return {data, count};
}

std::span<std::complex<double>> CUFValues::AssignComplex(size_t count)
{
    double* data = Take(2 * count);
    m_complex = true;
    m_count = count;
    return {reinterpret_cast<std::complex<double>*>(data), count};
}

std::span<const double> CUFValues::Real() const
{
    return m_complex ? std::span<const double>() : std::span<const double>(m_data, m_count);
}

std::span<const std::complex<double>> CUFValues::Complex() const
{
    return m_complex ? std::span<const std::complex<double>>(ComplexData(), m_count)
                     : std::span<const std::complex<double>>();
}

std::span<double> CUFValues::Real()
{
    return m_complex ? std::span<double>() : std::span<double>(m_data, m_count);
}

std::span<std::complex<double>> CUFValues::Complex()
{
    return m_complex ? std::span<std::complex<double>>(reinterpret_cast<std::complex<double>*>(m_data), m_count)
                     : std::span<std::complex<double>>();
}

void CUFValues::Release()
{
    m_block.reset();
    m_data = nullptr;
    m_count = 0;
    m_complex = false;
    Unprepare();
}

void CUFValues::Prepare(std::shared_ptr<CUFValueBlock> block, double* at, size_t doubles)
{
    m_prepared = std::move(block);
    m_preparedAt = at;
    m_preparedDoubles = doubles;
}

void CUFValues::Unprepare()
{
    m_prepared.reset();
    m_preparedAt = nullptr;
    m_preparedDoubles = 0;
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
