#include "acquisition/ui/EnsureQMXConnection.h"

#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgBlixStatus.h"
#include "acquisition/ui/DlgConfirmInitHardware.h"
#include "acquisition/ui/DlgQMXConnection.h"
#include "common/ProjectLookups.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"

int EnsureQMXConnection(IProjectLookups* project, int force, int confirm, QWidget* parent)
{
    CMultiQMXInterface* units = CDAQ::GetMultiInterface();
    if (!units)
        return 0;
    if (units->GetUnitCount() > 0) {
        bool initialise = force == 1;
        if (!initialise && confirm == 1) {
            CDlgConfirmInitHardware ask(parent);
            initialise = ask.DoModal() == IDOK;
        }
        if (initialise) {
            CWaitCursor wait;
            if (!units->Initialize()) {
                AfxMessageBox(IDS_HARDWARE_INIT_FAILED);
                return 0;
            }
        }
    } else {
        CDlgQMXConnection dialog(units, parent);
        dialog.DoModal();
        if (units->GetUnitCount() == 0)
            return 0;
    }
    if (project)
        project->SetSystemChannelCount(units->GetMaxChannels());
    return units->MergeUnitInfo();
}

CDlgBlixStatus* ShowBlixStatusDialog(QWidget* parent)
{
    return CDlgBlixStatus::ShowInstance(CDAQ::GetMultiInterface(), parent);
}
