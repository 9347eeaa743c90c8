#include "uff/DAQPPRpmData.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CDAQPPRpmData, CDAQPPUFData, 1 | VERSIONABLE_SCHEMA)

int CDAQPPRpmData::ReadValues(CUFLineReader& file, const UFReadOptions& options, std::string* error)
{
    if (!m_pIndex)
        return 0;
    // Only the uneven complex form holds an RPM with each value.
    if (m_pIndex->GetOrdDataType() != CUF58Index::kComplexSingle || m_pIndex->GetEvenSpacing() != 0 ||
        m_pIndex->GetNumValues() < 0) {
        Fail(error, kUnsupportedForm);
        return 0;
    }
    const size_t count = static_cast<size_t>(m_pIndex->GetNumValues());
    const double factor = options.bGToSI ? kGravity : 1.0;
    const double sign = options.bConjugate ? -1.0 : 1.0;
    if (!CountFits(file, 3 * count, error))
        return 0;
    std::vector<double> numbers;
    const bool ok = ReadNumbers(file, 3 * count, numbers, error);
    m_aRpm.assign(count, 0.0);
    const std::span<std::complex<double>> values = m_aValues.AssignComplex(count);
    for (size_t i = 0; i < numbers.size() / 3; ++i) {
        m_aRpm[i] = numbers[3 * i];
        values[i] = {factor * numbers[3 * i + 1], sign * factor * numbers[3 * i + 2]};
    }
    return ok ? 1 : 0;
}

void CDAQPPRpmData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
    } else {
        uint8_t version = 0;
        ar >> version;
        m_aRpm.clear();
    }
    CDAQPPUFData::Serialize(ar);
}
