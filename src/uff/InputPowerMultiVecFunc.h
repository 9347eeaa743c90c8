#pragma once
// How a target subsystem answers the input power of each of several source subsystems, over engine
// speed: for each RPM one multi-vector function with a vector per source, each the target's energy
// per band caused by that source's input power. Input powers the analysis project does not hold
// yet are calculated.
#include <functional>
#include <memory>
#include <string>

#include "platform/base/Feedback.h"

class CAnalysisProject;
class CZuRpmFunc;
class CZuRpmMultiVecFunc;
class CZuRpmResultData;
class CZuSubsystemTable;

// Null when an input power cannot be had (a warning, IDS_INPUT_POWER_NOT_CALCULATED with the
// subsystem, on the caller's feedback) or the user abandons
// at a source without input power (goOn, given the source, says whether to pass over it; none:
// always); the caller owns the result.
std::unique_ptr<CZuRpmMultiVecFunc>
MakeInputPowerMultiVecFunc(CAnalysisProject& project, const std::string& target, const CZuSubsystemTable& sources,
                           CFeedback* feedback = SilentFeedback(),
                           const std::function<bool(const std::string& source)>& goOn = {});

// The target's energy over RPM from one input-power result, added to that result as a child named
// by IDS_ENERGY_NAME with the target's typed name (one of the same name is replaced); null when a row
// cannot be made (nothing is left behind).
CZuRpmFunc* MakeSubsystemRpmFunc(CAnalysisProject& project, CZuRpmResultData& result, const std::string& target,
                                 CFeedback* feedback = SilentFeedback());
