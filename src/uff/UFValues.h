#pragma once
// The values of one dataset as read: real numbers as doubles, and complex numbers only for a
// dataset that holds them. A reader asks for value i as a complex number either way (a real value
// with no imaginary part), so what callers read does not depend on the form; the real form keeps
// half the memory of a complex one and is filled without a second pass.
#include <complex>
#include <cstddef>
#include <vector>

class CUFValues
{
public:
    bool IsComplex() const { return m_complex; }
    size_t size() const { return m_complex ? m_complexValues.size() : m_realValues.size(); }
    bool empty() const { return size() == 0; }
    std::complex<double> operator[](size_t i) const
    {
        return m_complex ? m_complexValues[i] : std::complex<double>(m_realValues[i], 0.0);
    }
    // |value i|^2.
    double Norm(size_t i) const
    {
        return m_complex ? std::norm(m_complexValues[i]) : m_realValues[i] * m_realValues[i];
    }

    // count real values (0.0), or count complex values (0.0, 0.0), in place of what was held.
    std::vector<double>& AssignReal(size_t count);
    std::vector<std::complex<double>>& AssignComplex(size_t count);
    // The values by form; only the one of the current form holds anything.
    const std::vector<double>& Real() const { return m_realValues; }
    const std::vector<std::complex<double>>& Complex() const { return m_complexValues; }
    std::vector<double>& Real() { return m_realValues; }
    std::vector<std::complex<double>>& Complex() { return m_complexValues; }
    // Frees the memory.
    void Release();

    // Equal when every value is equal, whatever the forms.
    bool operator==(const CUFValues& other) const;

private:
    bool m_complex = false;
    std::vector<double> m_realValues;
    std::vector<std::complex<double>> m_complexValues;
};
