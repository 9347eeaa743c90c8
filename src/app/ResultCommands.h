#pragma once
// The main frame's result commands without a window: when the comparisons (1083 against a second
// result, 1084 against the measurement), the input-power export (1115) and the input-power data
// dialog in solving mode (1056) apply, the result selection's answer, and the order report of the
// SPL by single input powers. The frame opens the dialogs and calls these.
#include "platform/base/Feedback.h"
#include "platform/win/CommandIds.h"

#include <cstdint>
#include <string>
#include <vector>

class CAnalysisProject;
class CMElement;
class CZuRpmMultiVecFunc;
class CZuRpmSelFunc;

class CResultCommands
{
public:
    enum : int
    {
        ID_INPUT_POWER_DATA = CommandId::ID_INPUT_POWER_DATA,
        ID_COMPARE_WITH_RESULT = CommandId::ID_COMPARE_WITH_RESULT,
        ID_COMPARE_WITH_MEASURED = CommandId::ID_COMPARE_WITH_MEASURED,
        ID_EXPORT_INPUT_POWER = CommandId::ID_EXPORT_INPUT_POWER,
    };

    // Whether each command applies to the tree's selected project and first selected element
    // (either may be null).
    // The input-power data dialog solves: it needs the model project.
    static bool CanOpenInputPowerData(const CMElement* selectedProject, const CMElement* first);
    // An analysis project and an SPL or vibration level selected first.
    static bool CanCompareWithResult(const CMElement* selectedProject, const CMElement* first);
    // An analysis project that can compare the first element with its measurement.
    static bool CanCompareWithMeasured(const CMElement* selectedProject, const CMElement* first);
    // An analysis project with input energies or input powers.
    static bool CanExportInputPower(const CMElement* selectedProject, const CMElement* first);

    // The project among the given ones whose tree holds the element; null when none does. The
    // element is only compared, never read, so one that has gone since is simply not found.
    static CAnalysisProject* FindAnalysisProject(const std::vector<CAnalysisProject*>& projects,
                                                 const CMElement* element);
    // The result selection's answer: the first result against the chosen energy result set, on
    // the first result's project. Both must still be in one of the open projects (either may have
    // been deleted while the selection was open). Null when they do not fit or nothing was built.
    static CZuRpmMultiVecFunc* OnResultSelected(const std::vector<CAnalysisProject*>& projects, CMElement* first,
                                                CMElement* chosen);

    // The report form of the SPL by single input powers for its notification (1 per input, 2 the
    // structures and cavities summed); 0 for any other message.
    static int GetReportType(uint32_t message);
    // Writes the order report of an SPL table by order to the path (through a temporary file, so a
    // failure leaves an existing file as it was); 1 when written.
    static int WriteSPLReport(CZuRpmSelFunc* table, int type, const std::string& path,
                              CFeedback* progress = SilentFeedback());
};
