#pragma once
// The main frame's commands on the way from a model and measured data to analysis results that
// have no other home: model data import with the recalculation of the input powers (1188), the
// input-power sources of a result set (1166), the choice of a result type (1222) and the two
// comparisons of an experiment's measured data (1080, 1081). Each has its enable rule over the
// selection (no window needed) and its action; the frame's command table places them.
#include "platform/win/CommandIds.h"
#include "app/FrameCommands.h"

#include <functional>

class CDaqProject;
class CMElement;
class CTALVODoc;
class QWidget;

class CAnalysisRoadCommands
{
public:
    enum : int
    {
        ID_COMPARE_EXP_DATA = CommandId::ID_COMPARE_EXP_DATA,
        ID_COMPARE_EXP_LP_DATA = CommandId::ID_COMPARE_EXP_LP_DATA,
        ID_INPUT_POWER_SOURCES = CommandId::ID_INPUT_POWER_SOURCES,
        ID_IMPORT_MODEL_DATA = CommandId::ID_IMPORT_MODEL_DATA,
        ID_SELECT_RESULT_TYPE = CommandId::ID_SELECT_RESULT_TYPE,
    };

    // ---- enable rules ----
    // 1188: a model project that holds hybrid SEA model data, or none yet: the import is the way
    // to the first one, so a model without it may import too.
    static bool CanImportModelData(const CFrameSelection& s);
    // 1166: an analysis project with one of its result sets (by RPM or by order) selected first.
    static bool CanShowInputPowerSources(const CFrameSelection& s);
    // 1222: as the vibration level (1067): an analysis project and a result set of its kind.
    static bool CanSelectResultType(const CFrameSelection& s);
    // 1080: the first selected element is an experiment; 1081 also needs its option (6172).
    static bool CanCompareExpData(const CFrameSelection& s);
    static bool CanCompareExpLPData(const CFrameSelection& s);

    // ---- actions (each true when it ran) ----
    // Model data from a file or the modelling program; after an import into a document with
    // analysis projects their input powers are recalculated (6254 first) and 6168 or 6169, with
    // the reason, ends it.
    static bool ImportModelData(CTALVODoc& doc, QWidget* parent);
    // After an import: 6254, the recalculation of every analysis project's input powers, then
    // 6168 or 6169 (with why). Nothing when the document has no analysis project. 1 on success.
    static int RecalcInputPowersAfterImport(CTALVODoc& doc);
    // Whether a calculation of input powers revises the non-positive ones: asked (6192) when the
    // option says so, else no. 1 for yes.
    static int AskRevisePowers();
    // The input-power sources page over the selected result set in a modal sheet (6191).
    static bool ShowInputPowerSources(const CFrameSelection& s, QWidget* parent);
    // The result-type choice; the chosen kind's command goes to send (1067, 1057, 1003, 1036 or
    // 1077). isEnabled tells which kinds the frame enables. Cancel sends nothing.
    static bool SelectResultType(const std::function<bool(int)>& isEnabled, const std::function<void(int)>& send,
                                 QWidget* parent);
    // The modeless comparison of the selected experiment's measured data (one per key: the frame),
    // with the experiment's DAQ project as its owner; an open one comes to the front.
    static bool CompareExpData(const CFrameSelection& s, const void* key, QWidget* parent);
    static bool CompareExpLPData(const CFrameSelection& s, const void* key, QWidget* parent);
    // The DAQ project an experiment belongs to; null for other elements.
    static CDaqProject* OwnerOfExperiment(CMElement* element);
};
