#pragma once
// The windows of the main frame's result commands: the result selection (1083) and its answer,
// the comparison with the measurement (1084), the input-power export (1115), and the order report
// of the SPL by single input powers (the calculation-subsystem selection's notifications 0x2414
// and 0x2415). The enable rules and the work without windows are in CResultCommands.
#include <cstdint>

class CAnalysisProject;
class CMElement;
class CTALVODoc;
class CZuSubsystemTable;
class IMessageTarget;
class IProjectTreeWindow;
class QWidget;

class CResultCommandsUi
{
public:
    // Closes an open result selection and opens one for the project's first selected element; the
    // second result is picked in tree. Its OK comes back to the owner as message 0xFE1.
    static void OpenResultSelection(CAnalysisProject* project, CMElement* first, const IProjectTreeWindow* tree,
                                    QWidget* parent, IMessageTarget* owner);
    // The answer of the result selection (0xFE1) for the document's analysis projects: the table
    // added, or 0.
    static intptr_t OnResultSelected(uintptr_t wParam, intptr_t lParam, const CTALVODoc& doc);
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
