#include "uff/ui/MkExtAnaProject.h"

#include <memory>

#include "app/AnalysisProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/RPMOptions.h"
#include "views/ui/PPageAnaRPMSetup.h"
#include "calculation/ui/PPageOctave.h"

CMkExtAnaProject::CMkExtAnaProject(CTALVODoc& doc, CAnalysisProject* project, QWidget* parent)
    : m_doc(doc), m_targetName(doc.GetTALVOProject().GetTargetSubsystem()), m_project(project), m_parent(parent)
{}

int CMkExtAnaProject::CreateProject(SubsystemsAnswer answer)
{
    const COctaveManagerEx* model = m_doc.GetTALVOProject().GetOctaveManager();
    if (!model || model->GetFreqCount() == 0)
        return 0;
    auto bands = std::make_unique<COctaveManagerEx>(model->GetBandType(), model->GetFreq(0),
                                                    model->GetFreq(model->GetFreqCount() - 1));
    {
        CZuPropertySheet sheet(LoadString(IDS_CALC_OPTIONS), m_parent);
        auto* page = new CPPageOctave;
        page->SetOctaveManagers(model, bands.get());
        page->SetReadOnly(false);
        sheet.AddPage(page);
        if (sheet.DoModal() != IDOK)
            return 0;
    }
    CRPMOptions rpm;
    m_project = m_doc.AddRpmAnalysisProject(&rpm, nullptr, bands.get());
    if (!m_project)
        return 0;
    if (CDlgSelectCalcSubsystem* dialog = CDlgSelectCalcSubsystem::CreateInstance(m_parent)) {
        if (const CZuSubsystemTable* table = m_doc.GetTALVOProject().GetModelSubsystemTable())
            for (int i = 0; i < table->GetCount(); ++i)
                dialog->AddSubsystem((*table)[i], 1);
        if (answer)
            dialog->SetAnswer([answer = std::move(answer), project = m_project](const CZuSubsystemTable& ticked) {
                answer(ticked, project);
            });
        dialog->setWindowTitle(QString::fromStdString(LoadString(IDS_INPUT_ENERGY_CAPTION)));
        dialog->Create();
    }
    SendToMainWindow(WM_COMMAND, kCmdAfterSubsystems, 0);
    return 1;
}

int CMkExtAnaProject::Configure(const CZuSubsystemTable& selection)
{
    if (!m_project)
        return 0;
    m_subsystems = selection;
    if (!m_targetName.empty())
        m_subsystems.AddUnique(m_targetName);
    CRPMOptions rpm;
    rpm.SetMode(1);
    CZuPropertySheet sheet(LoadString(IDS_RPM_CAPTION), m_parent);
    auto* page = new CPPageAnaRPMSetup;
    page->SetRPMOptions(&rpm);
    page->SetMode(0);
    sheet.AddPage(page);
    if (sheet.DoModal() != IDOK) {
        m_doc.RemoveProject(m_project);
        m_project = nullptr;
        return 0;
    }
    m_project->SetRPMOptions(rpm);
    AfxMessageBox(IDS_PROJECT_MADE, MB_OK | MB_ICONINFORMATION);
    return 1;
}
