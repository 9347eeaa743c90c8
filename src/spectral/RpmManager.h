#pragma once
// Resamples RPM-indexed results onto the RPM axis of an analysis: linear between the two measured
// rows that bracket an RPM, and constant beyond the measured range (the first row below it, the
// last row above it).
#include <memory>
#include <vector>

class CMultiVectorFunction;
class CRPMOptions;
class CZuRpmFunc;
class CZuVecFunc;

class CRpmManager
{
public:
    // The RPMs of the options' axis (none without options).
    explicit CRpmManager(const CRPMOptions* options);
    virtual ~CRpmManager() = default;

    const std::vector<double>& GetRpms() const { return m_rpms; }

    // A new map over the manager's RPMs with the frequencies, kind and label of src. A source
    // without rows gives a map without rows. Null for a null source.
    std::unique_ptr<CZuRpmFunc> CreateRpmFunc(const CZuRpmFunc* src) const;
    // A new multi-vector function indexed by the manager's RPMs with the subsystems, kind and label
    // of src, whose index values are RPMs. Null for a null source.
    std::unique_ptr<CMultiVectorFunction> CreateSubsystemTable(const CZuVecFunc* src) const;

    // Where RPM r lies on the ascending axis rpms: the rows lo and hi and the weight t of hi, with
    // hi -1 when row lo is taken as it is. pos is the search position kept across ascending calls.
    struct Bracket
    {
        int lo = 0;
        int hi = -1;
        double t = 0.0;
    };
    static Bracket FindBracket(const std::vector<double>& rpms, double r, int& pos);

private:
    std::vector<double> m_rpms;
};
