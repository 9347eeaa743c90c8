#pragma once
// The values of a dataset 58 over engine speed: an uneven abscissa, each complex value with its
// own RPM.
#include <vector>

#include "uff/DAQPPUFData.h"

class CDAQPPRpmData : public CDAQPPUFData
{
    DECLARE_SERIAL(CDAQPPRpmData)

public:
    const std::vector<double>& GetRpm() const { return m_aRpm; }

    // Triples of RPM, real and imaginary part (uneven complex single precision).
    int ReadValues(CUFLineReader& file, const UFReadOptions& options, std::string* error) override;

    void Serialize(CArchive& ar) override;

private:
    std::vector<double> m_aRpm;
};
