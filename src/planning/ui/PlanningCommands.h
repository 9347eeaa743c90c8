#pragma once
// The main window's planning commands: the plan list for managing (1223) and for choosing the
// plan of the next measurement (1226), the unit registration (1224), the sensor assignment (1225)
// and the exchange of the whole planning state with a workbook (1229 export, 1230 import). The
// frame asks here whether a command is enabled and lets it run here.
#include "platform/win/CommandIds.h"

#include <vector>

struct CFrameSelection;
class QWidget;

class CPlanningCommands
{
public:
    static constexpr int ID_PLAN_LIST = CommandId::ID_PLAN_LIST;
    static constexpr int ID_REGISTER_UNITS = CommandId::ID_REGISTER_UNITS;
    static constexpr int ID_ASSIGN_SENSORS = CommandId::ID_ASSIGN_SENSORS;
    static constexpr int ID_CHOOSE_PLAN = CommandId::ID_CHOOSE_PLAN;
    static constexpr int ID_EXPORT_PLANS = CommandId::ID_EXPORT_PLANS;
    static constexpr int ID_IMPORT_PLANS = CommandId::ID_IMPORT_PLANS;
    static constexpr int kCommands[] = {ID_PLAN_LIST,      ID_CHOOSE_PLAN,  ID_REGISTER_UNITS,
                                        ID_ASSIGN_SENSORS, ID_EXPORT_PLANS, ID_IMPORT_PLANS};

    // Plan workbooks are written and read as .xlsx.
    static constexpr const char* kWorkbookFilter = "Excel File (*.xlsx)|*.xlsx|All Files (*.*)|*.*||";

    // The menu text of one of the commands; null for another id.
    static const char* MenuText(int id);
    static bool IsEnabled(int id, const CFrameSelection& selection);
    // parent: the main window. False when the command is disabled or did not get to its end
    // (cancelled, failed).
    static bool Run(int id, const CFrameSelection& selection, QWidget* parent);

    // The planning windows work on the document's project: they go before the document does.
    static void CloseWindows();
};
