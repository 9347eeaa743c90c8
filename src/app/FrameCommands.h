#pragma once
// The project commands of the main frame without a window: the selection their rules see (the
// open document, the selected project, the elements selected in the project tree), the
// operations they run on the document, and the table of the project window's subsystem pickers.
// The command registry's entries decide and run the commands with these; tests call them directly.
#include "platform/win/CommandIds.h"

#include <cstdint>
#include <string>
#include <vector>

class CAnalysisProject;
class CBaseProject;
class CDAQConfig;
class CDaqProject;
class CFeedback;
class CMElement;
class CModelProject;
class CTALVODoc;
class CZuData;

// What a command sees when it is asked whether it may run.
struct CFrameSelection
{
    CTALVODoc* doc = nullptr;         // the open project document
    CBaseProject* project = nullptr;  // the project selected in the project window
    int projectIndex = -1;            // its index in the document (-1: none)
    std::vector<CMElement*> elements; // the elements selected in its tree, in order
    uint32_t language = 0;            // the loaded language

    CMElement* First() const { return elements.empty() ? nullptr : elements.front(); }
    // The selected project as each kind, with a document open; null otherwise.
    CAnalysisProject* Analysis() const;
    CDaqProject* Daq() const;
    CModelProject* ModelProject() const;
    // The document's model project, whatever is selected; null without one.
    CModelProject* DocModel() const;
};

class CFrameCommands
{
public:
    // The ids of the project commands; their rules and actions are entries of the main frame's
    // command registry.
    enum : int
    {
        ID_MODEL_UPDATE = CommandId::ID_MODEL_UPDATE,
        ID_DAQ_CALC_OPTIONS = CommandId::ID_DAQ_CALC_OPTIONS,
        ID_COPY_ANALYSIS_PROJECT = CommandId::ID_COPY_ANALYSIS_PROJECT,
        ID_DAQ_CALC_OPTIONS_RECALC = CommandId::ID_DAQ_CALC_OPTIONS_RECALC,
        ID_RENAME_PROJECT = CommandId::ID_RENAME_PROJECT,
        ID_DAQ_SETTINGS = CommandId::ID_DAQ_SETTINGS,
        ID_BLIX_CHANNEL_EXCHANGE = CommandId::ID_BLIX_CHANNEL_EXCHANGE,
        // The export of the unit channel assignment on a menu entry of its own (1130 exports
        // only with Shift, Ctrl and Alt held).
        ID_BLIX_CHANNEL_EXPORT = CommandId::ID_BLIX_CHANNEL_EXPORT,
        ID_MERGE_ANALYSIS_PROJECTS = CommandId::ID_MERGE_ANALYSIS_PROJECTS,
        ID_REMOVE_PROJECT_AT = CommandId::ID_REMOVE_PROJECT_AT,
        ID_EXTRACT_CLF = CommandId::ID_EXTRACT_CLF,
        ID_EXTRACT_INTRINSIC_DLF = CommandId::ID_EXTRACT_INTRINSIC_DLF,
        ID_CAVITY_PAIR_PICKER = CommandId::ID_CAVITY_PAIR_PICKER,
        ID_RENAME_PROJECT_AT = CommandId::ID_RENAME_PROJECT_AT,
        ID_ADD_MODEL_VARIANT = CommandId::ID_ADD_MODEL_VARIANT,
        ID_NEW_ANALYSIS_PROJECT = CommandId::ID_NEW_ANALYSIS_PROJECT,
        ID_NEW_DAQ_PROJECT = CommandId::ID_NEW_DAQ_PROJECT,
        ID_REMOVE_PROJECT = CommandId::ID_REMOVE_PROJECT,
        ID_MODEL_VIEW = CommandId::ID_MODEL_VIEW,
        ID_IMPORTED_FILE_LIST = CommandId::ID_IMPORTED_FILE_LIST,
        ID_EDIT_CUT = 57635,
    };

    // Whether a new DAQ project may be added: the document has none yet, or the option allows
    // more than one.
    static bool CanAddDaqProject(const CTALVODoc& doc);

    // The project window's result test: the element is a result (element types 3, 5, 51, 53 to
    // 56, 90 to 92, 95 to 97, 104, 105).
    static bool IsResultElement(const CMElement* element);

    // A copy of an analysis project, named "Copy of " and the source's name, added to the
    // document and its project window with an ID of its own from the container's counter. Null
    // when the copy cannot be made.
    static CAnalysisProject* CopyAnalysisProject(CTALVODoc& doc, const CAnalysisProject& source);

    // Takes the pulses per revolution and the RPM ratio of an edit of the acquisition settings
    // back into the configuration, each only when it differs from the stored value by at least
    // the float resolution. True when either changed.
    static bool TakePulseSettings(CDAQConfig& config, float pulsesPerRev, float rpmRatio);
    static constexpr double kPulseSettingTolerance = 1.1920928955078125e-7;

    // The result sets (element type 51) under the project, in tree order.
    static std::vector<CMElement*> FindResultSets(const CMElement* project);

    // The subsystem pickers of the project window: which picker a command uses, what it lists,
    // the pair picker's flags, the string of the result name (0: none) and what a confirmed pick
    // runs on the data element the picker came with, given the chosen names and the result name
    // made from that string (empty: none): the new (or refreshed) element, null when it failed
    // or does not apply to that element (no operation: the pick runs nothing). Why it failed (a
    // subsystem the model lacks, say) is reported to the feedback.
    struct PickerCommand
    {
        int id;
        bool pair;
        int filter;
        int pairFlag1;
        int pairFlag2;
        uint32_t resultNameId;
        CMElement* (*operation)(CZuData& data, const std::string& name1, const std::string& name2,
                                const std::string& resultName, CFeedback* feedback);
    };
    static const std::vector<PickerCommand>& PickerCommands();
    // The picker entry of a command; null when the command has none.
    static const PickerCommand* FindPickerCommand(int id);
};
