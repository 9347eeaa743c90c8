#pragma once
// The values of one dataset as read: real numbers as doubles, and complex numbers only for a
// dataset that holds them. A reader asks for value i as a complex number either way (a real value
// with no imaginary part), so what callers read does not depend on the form; the real form keeps
// half the memory of a complex one and is filled without a second pass.
//
// The doubles lie in a CUFValueBlock: the dataset's own, or a part of one that a read of many
// datasets shares (see Prepare). Either way they stay valid as long as this object holds them,
// whatever happens to the other datasets of the block. A copy has its own block.
#include <complex>
#include <cstddef>
#include <memory>
#include <span>

#include "uff/UFValueBlock.h"

class CUFValues
{
public:
    CUFValues() = default;
    CUFValues(const CUFValues& other);
    CUFValues& operator=(const CUFValues& other);
    CUFValues(CUFValues&& other) noexcept;
    CUFValues& operator=(CUFValues&& other) noexcept;

    bool IsComplex() const { return m_complex; }
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    std::complex<double> operator[](size_t i) const
    {
        return m_complex ? ComplexData()[i] : std::complex<double>(m_data[i], 0.0);
    }
    // |value i|^2.
    double Norm(size_t i) const { return m_complex ? std::norm(ComplexData()[i]) : m_data[i] * m_data[i]; }

    // count real values (0.0), or count complex values (0.0, 0.0), in place of what was held.
    std::span<double> AssignReal(size_t count);
    std::span<std::complex<double>> AssignComplex(size_t count);
    // The values by form; only the one of the current form holds anything.
    std::span<const double> Real() const;
    std::span<const std::complex<double>> Complex() const;
    std::span<double> Real();
    std::span<std::complex<double>> Complex();
    // Frees the memory (the block goes when no other dataset holds a part of it).
    void Release();

    // The next AssignReal or AssignComplex that needs at most doubles doubles takes them from at,
    // a zeroed part of block that no other dataset is given, in place of memory of its own.
    void Prepare(std::shared_ptr<CUFValueBlock> block, double* at, size_t doubles);
    // Forgets a part given by Prepare and not taken.
    void Unprepare();

    // Equal when every value is equal, whatever the forms.
    bool operator==(const CUFValues& other) const;

private:
    const std::complex<double>* ComplexData() const { return reinterpret_cast<const std::complex<double>*>(m_data); }
    // doubles zeroed doubles for the values, from the prepared part when it is large enough.
    double* Take(size_t doubles);

    bool m_complex = false;
    size_t m_count = 0;
    double* m_data = nullptr; // count doubles, or count pairs when complex
    std::shared_ptr<CUFValueBlock> m_block;
    std::shared_ptr<CUFValueBlock> m_prepared;
    double* m_preparedAt = nullptr;
    size_t m_preparedDoubles = 0;
};
