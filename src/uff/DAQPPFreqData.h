#pragma once
// The values of a dataset 58 over an even abscissa (a spectrum over frequency): value i lies at i
// times the increment plus the minimum.
#include "uff/DAQPPUFData.h"

class CDAQPPFreqData : public CDAQPPUFData
{
    DECLARE_SERIAL(CDAQPPFreqData)

public:
    // Real (2) and complex (5) single-precision values over an even abscissa; scaled by g and by
    // 0.01 for a function of type 6 whose ordinate unit is "%".
    int ReadValues(CUFLineReader& file, const UFReadOptions& options, std::string* error) override;

    void Serialize(CArchive& ar) override;
};
