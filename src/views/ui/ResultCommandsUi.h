#pragma once
// The windows of the main frame's result commands: the result selection (1083) and its answer,
// the comparison with the measurement (1084), the input-power export (1115), and the order report
// of the SPL by single input powers (the calculation-subsystem selection's notifications 0x2414
// and 0x2415). The enable rules and the work without windows are in CResultCommands.
#include <cstdint>
#include <functional>

class CAnalysisProject;
class CMElement;
class CTALVODoc;
class CZuRpmMultiVecFunc;
class CZuSubsystemTable;
class IProjectTreeWindow;
class QWidget;

class CResultCommandsUi
{
public:
    // Closes an open result selection and opens one for the project's first selected element; the
    // second result is picked in tree. Its OK hands both results to OnResultSelected with the
    // document open then (none: nothing happens).
    static void OpenResultSelection(CAnalysisProject* project, CMElement* first, const IProjectTreeWindow* tree,
                                    QWidget* parent, std::function<CTALVODoc*()> document);
    // The answer of the result selection for the document's analysis projects: the table added, or
    // null.
    static CZuRpmMultiVecFunc* OnResultSelected(CMElement* first, CMElement* chosen, const CTALVODoc& doc);
    // The measured-against-calculated table of the first selected element; false when none was made.
    static bool CompareWithMeasured(CAnalysisProject& project, CMElement* first);
    // The export dialog of the project's kind; DoModal's result.
    static int ExportInputPower(CAnalysisProject* project, QWidget* parent);
    // The SPL by single input powers of a project by order: the target from the model's picker
    // (captioned with the document's name),
    // the table built with progress ("Failed to create data." when it cannot be), then the report
    // written to the text file the user names. -1 without a table of inputs or a project; 1 when
    // the report was written, else 0.
    static intptr_t OnSPLBySingleInput(uint32_t message, const CZuSubsystemTable* table, CAnalysisProject* project,
                                       CTALVODoc& doc, QWidget* parent);
};
