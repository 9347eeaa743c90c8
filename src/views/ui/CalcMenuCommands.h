#pragma once
// The calculation and result commands of the main frame, for the frame's registry.
#include <cstdint>

class CAnalysisProject;
class CCommandRegistry;
class CZuSubsystemTable;
class ICommandContext;

void RegisterCalcMenuCommands(CCommandRegistry& registry);

// Where the calculation-subsystem selection of the input-energy, energy-result and SPL by single
// input powers commands goes on with the ticked subsystems of project; message is the command's
// notification (CCalcCommands::GetNotifyMessage). The calculation's result, or for the SPL the
// comparison's or report's; 0 (the SPL: -1) when the project is no longer one of the open
// document's or nothing was ticked.
intptr_t AnswerCalcSubsystems(ICommandContext& context, uint32_t message, const CZuSubsystemTable* ticked,
                              CAnalysisProject* project);
