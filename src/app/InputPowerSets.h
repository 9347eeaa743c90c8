#pragma once
// Named sets of input powers kept on the model project (general data of element kind 60 holding
// one power function per input subsystem), and the HSEA solve of one set into the result
// "Result [<set>]" of the model project. A failed solve leaves the result that was there; a
// successful one takes its place.
#include <string>

#include "platform/base/Feedback.h"

class CHSEAGeneralData;
class CHSEAResultData;
class CModelProject;

class CInputPowerSets
{
public:
    // Element kind of the sets.

    // The name of the result of a set.
    static std::string ResultName(const std::string& setName);
    // A new empty set "Input Power Data" over the model's bands, added to the model project.
    static CHSEAGeneralData* CreateSet(CModelProject& model);
    // Solves the model project's HSEA model with the set's input powers. Without a model project:
    // null, silently; without an HSEA model: message 6088; without a set: 6097; when the powers
    // cannot be set or the solve fails: 6076, and an earlier result of the set stays. The messages
    // are warnings reported to the feedback, which also shows the bands solved and may cancel.
    // The new result takes the place of the one it replaces.
    static CHSEAResultData* Solve(CModelProject* model, CHSEAGeneralData* set, CFeedback* feedback = SilentFeedback());
};
