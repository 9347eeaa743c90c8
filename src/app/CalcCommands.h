#pragma once
// The main frame's calculation commands without a window: when each is enabled, which subsystems
// the input-power and energy-result commands offer, what their notifications run, and the result
// commands' drivers for a chosen target. The frame opens the dialogs and calls these.
#include "platform/base/Feedback.h"
#include "platform/win/CommandIds.h"

#include <string>

class CAnalysisProject;
class CMElement;
class CZuSubsystemTable;

class CCalcCommands
{
public:
    enum : int
    {
        ID_SEARCH_DOMINANT_PATH = CommandId::ID_SEARCH_DOMINANT_PATH,
        ID_CALC_SUBSYSTEM_ENERGY = CommandId::ID_CALC_SUBSYSTEM_ENERGY, // of the hybrid model's result
        ID_CALC_ENERGY_RATIO = CommandId::ID_CALC_ENERGY_RATIO,         // of the hybrid model's result
        ID_CALC_INPUT_POWER = CommandId::ID_CALC_INPUT_POWER,
        ID_CALC_POWER_CONTRIBUTION = CommandId::ID_CALC_POWER_CONTRIBUTION,
        ID_CALC_SPL = CommandId::ID_CALC_SPL,
        ID_CALC_VIBRATION_LEVEL = CommandId::ID_CALC_VIBRATION_LEVEL,
        ID_CALC_ENERGY_RESULT = CommandId::ID_CALC_ENERGY_RESULT,
        ID_SPL_BY_SINGLE_IP = CommandId::ID_SPL_BY_SINGLE_IP,
        ID_SPL_BY_SINGLE_IP_COMP = CommandId::ID_SPL_BY_SINGLE_IP_COMP,
    };
    // The result commands ask for their target in the model's subsystem picker.
    static constexpr bool kResultPickerBuilt = true;

    // Whether the command applies to the selected project and first selected element (either may
    // be null). The SPL by single input powers (1181, 1182) needs its option on and input powers;
    // it writes the order report for a project by order, while a project by RPM waits for its
    // comparison windows, so it stays off there.
    static bool IsEnabled(int id, const CAnalysisProject* project, const CMElement* first);

    // The subsystems offered for input powers: those of the input-energy folder, else the excited
    // subsystems of the DAQ project's used experiments (with their symmetric subsystems when the
    // project may borrow measurements). For the energy result and the SPL by single input
    // powers: those of the input-power folder.
    static int GetOfferedSubsystems(int id, const CAnalysisProject& project, CZuSubsystemTable& table);
    // What the picker of a result command offers (5 the shells, 8 the cavities, 9 every subsystem)
    // and whether it asks for the wave type.
    static int GetSubsystemKind(int id);
    static bool IsWaveTypeEnabled(int id);
    // The caption string of the selection dialog of the command.
    static unsigned GetCaptionId(int id);
    // The notification the selection dialog sends back for the command (0 for other commands).
    static unsigned GetNotifyMessage(int id);

    // Input energies and powers of the chosen subsystems, non-positive powers revised when revise
    // is nonzero (the command asks when the option says so); "finished" when the chain succeeds,
    // "failed" when it stops, both reported as information to the feedback, as are the
    // calculation's warnings. 1 on success.
    static int OnCalcInputEnergy(const CZuSubsystemTable& table, CAnalysisProject* project, int revise,
                                 CFeedback* feedback = SilentFeedback());
    // The energy result of the chosen input subsystems, always solved anew; "finished" or
    // "failed". 1 on success.
    static int OnCalcEnergyResult(const CZuSubsystemTable& table, CAnalysisProject* project,
                                  CFeedback* feedback = SilentFeedback());

    // The driver of a result command (by RPM or by order, as the project works) for the chosen
    // target, its function added under the result set; null when it fails or the result does not
    // fit the project.
    static CMElement* RunResultCommand(int id, CAnalysisProject& project, CMElement* result, const std::string& name);
};
