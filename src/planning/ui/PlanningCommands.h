#pragma once
// The main window's planning commands: the plan list for managing (1223) and for choosing the
// plan of the next measurement (1226), the unit registration (1224), the sensor assignment (1225)
// and the exchange of the whole planning state with a workbook (1229 export, 1230 import): when
// each applies and what it runs. The frame's entries take their rules and actions from here.
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

    // The plan list, the unit registration, the sensor assignment and the workbook exchange work
    // on the open document's project.
    static bool HasDocument(const CFrameSelection& selection);
    // The chosen plan goes to the measurement of a DAQ project measured here, selected.
    static bool CanChoosePlan(const CFrameSelection& selection);

    // parent: the main window. False when the command does not apply or did not get to its end
    // (cancelled, failed).
    static bool OpenPlanList(const CFrameSelection& selection, QWidget* parent);
    static bool ChoosePlan(const CFrameSelection& selection, QWidget* parent);
    static bool RegisterUnits(const CFrameSelection& selection, QWidget* parent);
    static bool AssignSensors(const CFrameSelection& selection, QWidget* parent);
    static bool ExportPlans(const CFrameSelection& selection, QWidget* parent);
    static bool ImportPlans(const CFrameSelection& selection, QWidget* parent);

    // The planning windows work on the document's project: they go before the document does.
    static void CloseWindows();
};
