#pragma once
#include "platform/win/CommandIds.h"
// The main frame's commands on the selected DAQ project: the measurement by subsystem, the engine
// rotation set-up and the experimental database check: when each applies and what it opens. The
// frame's entries take their rules and actions from here.
class CBaseProject;
class QWidget;

class CDaqProjectCommands
{
public:
    static constexpr int ID_MEASURE_BY_SUBSYSTEM = CommandId::ID_MEASURE_BY_SUBSYSTEM;
    static constexpr int ID_ENGINE_ROTATION = CommandId::ID_ENGINE_ROTATION;
    static constexpr int ID_DATABASE_CHECK = CommandId::ID_DATABASE_CHECK;
    static constexpr int kCommands[] = {ID_MEASURE_BY_SUBSYSTEM, ID_ENGINE_ROTATION, ID_DATABASE_CHECK};

    // selected: the project selected in the project tree (null when none).
    // The measurement by subsystem and the engine rotation set-up: a DAQ project measured here
    // (imported universal-file data were not measured here: there is nothing to set up).
    static bool IsMeasuredHere(const CBaseProject* selected);
    // The experimental database check: any DAQ project.
    static bool IsDaqProject(const CBaseProject* selected);

    // frame: the main frame, the parent of the windows and the key of the measurement by subsystem.
    // False when the command does not apply or its window was not opened or not confirmed.
    static bool MeasureBySubsystem(CBaseProject* selected, QWidget* frame);
    static bool ShowEngineRotation(CBaseProject* selected, QWidget* frame);
    static bool CheckDatabase(CBaseProject* selected, QWidget* frame);
};
