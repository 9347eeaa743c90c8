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
    // real numbers, parsed into the front of the same memory, are spread out from the back, where
    // no unread number is overwritten.
    m_aValues.assign(count, std::complex<double>());
    double* raw = reinterpret_cast<double*>(m_aValues.data());
    size_t read = 0;
    const bool ok = ReadNumbers(file, numbers, raw, read, error);
    const size_t got = complex ? read / 2 : read;
    if (complex) {
        if (read % 2 != 0)
            m_aValues[got] = std::complex<double>(); // half a value left over from a short read
        if (factor != 1.0 || sign != 1.0)
            for (size_t i = 0; i < got; ++i)
                m_aValues[i] = std::complex<double>(factor * raw[2 * i], sign * factor * raw[2 * i + 1]);
    } else {
        for (size_t i = got; i-- > 0;)
            m_aValues[i] = std::complex<double>(factor * raw[i], 0.0);
    }
    if (options.bSqrt)
        for (size_t i = 0; i < got; ++i) {
            const std::complex<double> v = m_aValues[i];
            m_aValues[i] = complex ? CGfxCalc::ComplexSqrt(v) : std::complex<double>(std::sqrt(v.real()), 0.0);
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
