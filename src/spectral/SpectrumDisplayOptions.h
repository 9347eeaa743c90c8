#pragma once
// How the spectrum tables show their values. The choice belongs to the open project: its display
// options say whether values show in dB and whether the weighting filter is A-weighting, and its
// model says whether a subsystem is a structure (velocity units) or a cavity (pressure units).
// The project document installs itself as the provider while a project is open; without one the
// tables show linear values, unweighted, and no subsystem counts as a structure.
#include <string>

class ISpectrumDisplayOptions
{
public:
    virtual ~ISpectrumDisplayOptions() = default;
    // 1 when table values show in dB.
    virtual int ShowDataInDB() const = 0;
    // 1 when the weighting filter is A-weighting.
    virtual int IsAWeighting() const = 0;
    // 1 when the named subsystem is a structure (the project container's test).
    virtual int IsStructure(const std::string& subsystem) const = 0;
};

// Installs the provider (not owned); null removes it.
void SetSpectrumDisplayOptions(ISpectrumDisplayOptions* options);
ISpectrumDisplayOptions* GetSpectrumDisplayOptions();

// The provider's answers, or the defaults above without one.
int SpectrumShowInDB();
int SpectrumAWeighting();
int SpectrumIsStructure(const std::string& subsystem);
