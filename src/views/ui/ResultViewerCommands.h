#pragma once
// The main frame's road to the result viewers: when their commands are enabled and what they and
// the SPL-comparison messages open.
#include "platform/win/CommandIds.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CAnalysisProject;
class CBaseProject;
class CMElement;
class CZuOTPcFunc;
class CZuRpmMultiVecFunc;
class CZuSubsystemTable;
class QWidget;

class CResultViewerCommands
{
public:
    enum : int
    {
        ID_VIEW_POWER_CONTRIBUTION = CommandId::ID_VIEW_POWER_CONTRIBUTION,
        ID_COMPARE_TARGET_ENERGY = CommandId::ID_COMPARE_TARGET_ENERGY,
    };

    // The selection the rules and the actions see: the project selected in the tree and its first
    // selected element (either may be null).
    // 1077: an analysis project by RPM and a power-contribution result over RPM selected first, or
    // a project by order and a cavity's power-contribution result over order selected first.
    static bool CanViewPowerContribution(const CBaseProject* project, const CMElement* first);
    // Opens (or brings forward) the viewer of the contributions over RPM, or for a result over
    // order writes its report; false when the command does not apply or nothing was opened or
    // written.
    static bool ViewPowerContribution(CBaseProject* project, CMElement* first, QWidget* parent);
    // 1082: a DAQ project selected.
    static bool CanCompareTargetEnergy(const CBaseProject* project, const CMElement* first);
    // Opens (or brings forward) the target energy comparison of the DAQ project; false when the
    // command does not apply or nothing was opened.
    static bool CompareTargetEnergy(CBaseProject* project, CMElement* first, QWidget* parent);
    // 1077 by order: the order power-contribution report of the map, written to the text file the
    // user names (the cavity's SPL by order computed when missing); true when written.
    static bool WriteOrderReport(CAnalysisProject& project, CZuOTPcFunc* contributions);
    // The target's energies by input subsystem over RPM (one vector per input); null when they
    // cannot be had (the builder has said why).
    using EnergyTableBuilder = std::function<std::unique_ptr<CZuRpmMultiVecFunc>(
        CAnalysisProject& project, const std::string& target, const CZuSubsystemTable& inputs)>;
    // 0x2414 / 0x2415: asks for the target cavity, builds the SPL table by single input powers and
    // opens the comparison of the project; -1 when nothing is opened. With an energy builder,
    // 0x2414 compares the energies it builds instead.
    static intptr_t OnSplBySingleIP(uint32_t msg, const CZuSubsystemTable* inputs, CAnalysisProject* project,
                                    QWidget* parent, const EnergyTableBuilder& energies = {});
};
