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

    if (!CountFits(file, complex ? 2 * count : count, error))
        return 0;
    std::vector<double> numbers;
    const bool ok = ReadNumbers(file, complex ? 2 * count : count, numbers, error);
    m_aValues.assign(count, std::complex<double>());
    const size_t got = complex ? numbers.size() / 2 : numbers.size();
    for (size_t i = 0; i < got; ++i) {
        std::complex<double> v = complex
                                     ? std::complex<double>(factor * numbers[2 * i], sign * factor * numbers[2 * i + 1])
                                     : std::complex<double>(factor * numbers[i], 0.0);
        if (options.bSqrt)
            v = complex ? CGfxCalc::ComplexSqrt(v) : std::complex<double>(std::sqrt(v.real()), 0.0);
        m_aValues[i] = v;
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
