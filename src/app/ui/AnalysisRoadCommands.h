#pragma once
// The main frame's model data import with the recalculation of the input powers (1188): its
// enable rule over the selection (no window needed) and its action; the frame's command table
// places it.
#include "platform/win/CommandIds.h"
#include "app/FrameCommands.h"

class CTALVODoc;
class QWidget;

class CAnalysisRoadCommands
{
public:
    enum : int
    {
        ID_IMPORT_MODEL_DATA = CommandId::ID_IMPORT_MODEL_DATA,
    };

    // ---- enable rules ----
    // 1188: a model project that holds hybrid SEA model data, or none yet: the import is the way
    // to the first one, so a model without it may import too.
    static bool CanImportModelData(const CFrameSelection& s);

    // ---- actions (each true when it ran) ----
    // Model data from a file or the modelling program; after an import into a document with
    // analysis projects their input powers are recalculated (6254 first) and 6168 or 6169, with
    // the reason, ends it.
    static bool ImportModelData(CTALVODoc& doc, QWidget* parent);
    // After an import: 6254, the recalculation of every analysis project's input powers, then
    // 6168 or 6169 (with why). Nothing when the document has no analysis project. 1 on success.
    static int RecalcInputPowersAfterImport(CTALVODoc& doc);
};
