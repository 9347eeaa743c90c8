#pragma once
// The file commands of the project document that ask for a file first: the command chooses the
// file (or asks its question) and hands the answer to the document, which reads or writes.
#include <string>

class CAnalysisProject;
class CTALVODoc;
class CZuData;

class CProjectFileCommands
{
public:
    // 1111: the analysis project selected in the project window to the ".oap" file the user names
    // (named after the project); 0 when none is selected (nothing asked) or the user cancels, else
    // what the document's export returns.
    static int ExportAnalysisProject(CTALVODoc& doc);
    // 1127: an ".oap" file the user chooses, as a new analysis project; null when cancelled.
    static CAnalysisProject* ImportAnalysisProject(CTALVODoc& doc);
    // 1114: the Hybrid SEA model as text to the file the user names (named after the model); 0
    // without a model or when cancelled.
    static int ExportHSEAModelText(CTALVODoc& doc);
    // Model data text (".dmd") from a file the user chooses; null when cancelled or not read.
    static CZuData* ReadModelData(CTALVODoc& doc);
    // Asks 6008 (OK/Cancel) for a project other than the model project and removes it on OK; the
    // model project is refused by the document. True when removed.
    static bool RemoveProjectAt(CTALVODoc& doc, int index);

    // The choosers the core asks through (installed by the wiring): a model data text file, and the
    // text file an order result function is dumped to. True with the path chosen.
    static bool ChooseModelDataFile(std::string& path);
    static bool ChooseDumpFile(std::string& path);
};
