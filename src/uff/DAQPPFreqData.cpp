#include "uff/DAQPPFreqData.h"

#include <cmath>

#include "platform/archive/Archive.h"
#include "platform/gfx/GfxCalc.h"

IMPLEMENT_SERIAL(CDAQPPFreqData, CDAQPPUFData, 1 | VERSIONABLE_SCHEMA)

int CDAQPPFreqData::ReadValues(CUFLineReader& file, const UFReadOptions& options, std::string* error)
{
    if (!m_pIndex)
        return 0;
    const int form = m_pIndex->GetOrdDataType();
    const bool complex = form == CUF58Index::kComplexSingle;
    // A spectrum needs its even abscissa: uneven data carry abscissas this reader would take for
    // values.
    if ((form != CUF58Index::kRealSingle && !complex) || m_pIndex->GetEvenSpacing() != 1 ||
        m_pIndex->GetNumValues() < 0) {
        Fail(error, kUnsupportedForm);
        return 0;
    }
    const size_t count = static_cast<size_t>(m_pIndex->GetNumValues());
    double factor = options.bGToSI ? kGravity : 1.0;
    if (m_pIndex->GetFuncType() == 6 && m_pIndex->GetAxisUnits(1) == "%")
        factor *= 0.01;
    const double sign = options.bConjugate ? -1.0 : 1.0;

    const size_t numbers = complex ? 2 * count : count;
    if (!CountFits(file, numbers, error))
        return 0;
    // The numbers are parsed straight into the values: a complex value is two doubles in a row, and
    // a real dataset is kept as doubles.
    size_t read = 0;
    bool ok = false;
    if (complex) {
        const std::span<std::complex<double>> values = m_aValues.AssignComplex(count);
        double* raw = reinterpret_cast<double*>(values.data());
        ok = ReadNumbers(file, numbers, raw, read, error);
        const size_t got = read / 2;
        if (read % 2 != 0)
            values[got] = std::complex<double>(); // half a value left over from a short read
        if (factor != 1.0 || sign != 1.0)
            for (size_t i = 0; i < got; ++i)
                values[i] = std::complex<double>(factor * raw[2 * i], sign * factor * raw[2 * i + 1]);
        if (options.bSqrt)
            for (size_t i = 0; i < got; ++i)
                values[i] = CGfxCalc::ComplexSqrt(values[i]);
    } else {
        const std::span<double> values = m_aValues.AssignReal(count);
        ok = ReadNumbers(file, numbers, values.data(), read, error);
        if (factor != 1.0)
            for (size_t i = 0; i < read; ++i)
                values[i] *= factor;
        if (options.bSqrt)
            for (size_t i = 0; i < read; ++i)
                values[i] = std::sqrt(values[i]);
    }
    return ok ? 1 : 0;
}

void CDAQPPFreqData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
    } else {
        uint8_t version = 0;
        ar >> version;
    }
    CDAQPPUFData::Serialize(ar);
}
