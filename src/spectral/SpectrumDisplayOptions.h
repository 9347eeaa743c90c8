#pragma once
// How the spectrum tables show their values. The choice belongs to the project a map lies in: its
// display options say whether values show in dB and whether the weighting filter is A-weighting,
// and its model says whether a subsystem is a structure (velocity units) or a cavity (pressure
// units). A map finds them by walking up its owners; outside any project the tables show linear
// values, unweighted, and no subsystem counts as a structure.
#include <string>

class CMElement;

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

    // The first of element and its ancestors that implements the interface; null when none does.
    static const ISpectrumDisplayOptions* FindOwner(const CMElement* element);
};

// The answers of element's owner, or the defaults above without one.
int SpectrumShowInDB(const CMElement* element);
int SpectrumAWeighting(const CMElement* element);
int SpectrumIsStructure(const CMElement* element, const std::string& subsystem);
// The first line of a labelled copy of a subsystem's table: the subsystem, then its quantity and
// unit as element shows them.
std::string SpectrumTitleLine(const CMElement* element, const std::string& subsystem);
