#pragma once
// The commands on a result set that have no other home: the input-power sources it was calculated
// from (1166) and the choice of what to calculate on it (1222). Each has its enable rule over the
// selection (no window needed) and its action; the frame's command table places them.
#include "app/FrameCommands.h"
#include "platform/win/CommandIds.h"

#include <functional>

class QWidget;

class CResultSetCommands
{
public:
    enum : int
    {
        ID_INPUT_POWER_SOURCES = CommandId::ID_INPUT_POWER_SOURCES,
        ID_SELECT_RESULT_TYPE = CommandId::ID_SELECT_RESULT_TYPE,
    };

    // 1166: an analysis project with one of its result sets (by RPM or by order) selected first.
    static bool CanShowInputPowerSources(const CFrameSelection& s);
    // 1222: as the vibration level (1067): an analysis project and a result set of its kind.
    static bool CanSelectResultType(const CFrameSelection& s);

    // The input-power sources page over the selected result set in a modal sheet (6191).
    static bool ShowInputPowerSources(const CFrameSelection& s, QWidget* parent);
    // The result-type choice; the chosen kind's command goes to send (1067, 1057, 1003, 1036 or
    // 1077). isEnabled tells which kinds the frame enables. Cancel sends nothing.
    static bool SelectResultType(const std::function<bool(int)>& isEnabled, const std::function<void(int)>& send,
                                 QWidget* parent);
    // Whether a calculation of input powers revises the non-positive ones: asked (6192) when the
    // option says so, else no. 1 for yes.
    static int AskRevisePowers();
};
