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

    // The input-power (1033), energy-result (1177) and SPL by single input powers (1181, 1182)
    // commands choose their subsystems in the modeless calculation-subsystem selection: its
    // caption string, the notification it sends back, the subsystems it offers (filled into the
    // table, their count returned) and whether the command applies to the selected project (null:
    // none).
    struct SubsystemSelection
    {
        unsigned captionId;
        unsigned notifyMessage;
        int (*offer)(const CAnalysisProject& project, CZuSubsystemTable& table);
        bool (*applies)(const CAnalysisProject* project);
    };
    // Offered: the subsystems of the input-energy folder, else the excited subsystems of the DAQ
    // project's used experiments (with their symmetric subsystems when the project may borrow
    // measurements). Applies until input powers are held: then the energy result is the next step.
    static const SubsystemSelection kInputPowerSelection;
    // Offered: those of the input-power folder; applies once there are input powers.
    static const SubsystemSelection kEnergyResultSelection;
    // As the energy result, with their option on. Each writes the order report for a project by
    // order; by RPM the comparison windows show it.
    static const SubsystemSelection kSplBySingleIPSelection;
    static const SubsystemSelection kSplBySingleIPCompSelection;

    // The result commands on the first selected element: a result set of the selected analysis
    // project's own kind (by RPM, by order); either may be null.
    static bool AppliesToResultSet(const CAnalysisProject* project, const CMElement* first);
    // A result command: what the model's subsystem picker offers for its target (5 the shells, 8
    // the cavities, 9 every subsystem), whether it asks for the wave type, and its driver (by RPM
    // or by order, as the project works) for the chosen target, its function added under the
    // result set; the driver returns null when it fails or the result does not fit the project.
    // The driver shows its progress and why it failed through the feedback.
    struct ResultCommand
    {
        int subsystemKind;
        bool waveType;
        CMElement* (*run)(CAnalysisProject& project, CMElement* result, const std::string& target, CFeedback* feedback);
    };
    static const ResultCommand kVibrationLevel;
    static const ResultCommand kSpl;
    static const ResultCommand kDominantPaths;
    static const ResultCommand kPowerContributions;

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
};
