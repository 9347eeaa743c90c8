#pragma once
#include "platform/win/CommandIds.h"
// The main frame's commands on the selected DAQ project: the measurement by subsystem, the engine
// rotation set-up and the experimental database check. The frame asks here whether a command is
// enabled and lets it run here.
class CBaseProject;
class QWidget;

class CDaqProjectCommands
{
public:
    static constexpr int ID_MEASURE_BY_SUBSYSTEM = CommandId::ID_MEASURE_BY_SUBSYSTEM;
    static constexpr int ID_ENGINE_ROTATION = CommandId::ID_ENGINE_ROTATION;
    static constexpr int ID_DATABASE_CHECK = CommandId::ID_DATABASE_CHECK;
    static constexpr int kCommands[] = {ID_MEASURE_BY_SUBSYSTEM, ID_ENGINE_ROTATION, ID_DATABASE_CHECK};

    // The menu text of one of the commands; null for another id.
    static const char* MenuText(int id);
    // selected: the project selected in the project tree (null when none).
    static bool IsEnabled(int id, const CBaseProject* selected);
    // frame: the main frame, the parent of the windows and the key of the measurement by subsystem.
    // False when the command is disabled or its window was not opened or not confirmed.
    static bool Run(int id, CBaseProject* selected, QWidget* frame);
};
