#pragma once
// What the energy solver needs of the analysis project it runs for. The analysis project lives in
// the project model, which is built on top of the calculation engine, so it answers through this
// interface.
#include <cstdint>
#include <vector>

class CMElement;
class COctaveManagerEx;
class CRPMOptions;

class ISolverProject
{
public:
    virtual ~ISolverProject() = default;
    // The element the result sets are made under (their parent).
    virtual CMElement* GetProjectElement() = 0;
    // Non-zero when the project belongs to a document (whose model names the subsystems).
    virtual int HasOwner() const = 0;
    // The analysis keys: the RPMs of every pass.
    virtual CRPMOptions& GetRPMOptions() = 0;
    // The project's band set; null without one.
    virtual COctaveManagerEx* GetOctaveManager() = 0;
    // For each project band, the model band it belongs to.
    virtual std::vector<int32_t>& GetFreqIndexArray() = 0;
    // The model project's three model parameters (band kind, start and end frequency), which the
    // result sets are made with.
    virtual void GetModelDataParams(int* kind, double* start, double* end) const = 0;
};
