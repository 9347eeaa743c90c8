#include "app/ui/FrameCommandHandler.h"

#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "models/HSEAModelData.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/DlgRename.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MainFrame.h"
#include "acquisition/ui/DlgDAQConfig.h"
#include "acquisition/ui/DlgEngineRotationSetup.h"
#include "acquisition/ui/EnsureQMXConnection.h"
#include "experiments/CalcOptions.h"
#include "experiments/DAQConfig.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/RPMOptions.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/MkExtDaqProject.h"
#include "views/ui/DlgImportedFileList.h"
#include "views/ui/DlgMergeAnaProjects.h"
#include "views/ui/DlgSelectAnalysisProjectType.h"
#include "views/ui/DlgSelectDaqProject.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/OptionSheets.h"
#include "calculation/ui/PPageBandAve.h"
#include "calculation/ui/PPageCalcOptions.h"
#include "calculation/ui/PPageOrderTracking.h"
#include "views/ui/PPageTargetLP.h"
#include "calculation/ui/PSheetAnaOptions.h"

#include <QGuiApplication>

#include <initializer_list>

namespace {
using C = CFrameCommands;

CFrameCommandHandler::ExtAnalysisBuilder& ExtBuilder()
{
    static CFrameCommandHandler::ExtAnalysisBuilder builder;
    return builder;
}

CFrameCommandHandler::ExtAnalysisConfigurer& ExtConfigurer()
{
    static CFrameCommandHandler::ExtAnalysisConfigurer configurer;
    return configurer;
}

// Whether a DAQ project holds measured data with RPM functions (what a new pulse setting changes).
bool HasRpmFunctions(const CDaqProject& project)
{
    CMElementList used;
    project.GetUsedDAQExperiments(used);
    for (CMElement* e : used)
        if (auto* set = DynamicDowncast<CDAQExperiment>(e))
            if (set->FindRpmFuncOfFirstName() || set->FindRpmFuncOfSecondName())
                return true;
    return false;
}
} // namespace

void CFrameCommandHandler::SetExtAnalysisBuilder(ExtAnalysisBuilder builder)
{
    ExtBuilder() = std::move(builder);
}

void CFrameCommandHandler::SetExtAnalysisConfigurer(ExtAnalysisConfigurer configurer)
{
    ExtConfigurer() = std::move(configurer);
}

bool CFrameCommandHandler::HasExtAnalysisServices()
{
    return ExtBuilder() && ExtConfigurer();
}

int CFrameCommandHandler::ConfigureExtAnalysis(const CZuSubsystemTable* selection, CAnalysisProject* project)
{
    CTALVODoc* doc = m_frame.GetDocument();
    if (!selection || !project || !doc || !ExtConfigurer())
        return 0;
    // The project travels with the dialog's answer; it may have gone with its document since.
    if (doc->GetTALVOProject().GetProjectIndex(project) < 0)
        return 0;
    return ExtConfigurer()(*doc, *project, *selection, Parent());
}

CFrameCommandHandler::CFrameCommandHandler(CMainFrame& frame) : m_frame(frame) {}

QWidget* CFrameCommandHandler::Parent() const
{
    return &m_frame;
}

CFrameSelection CFrameCommandHandler::CurrentSelection() const
{
    CFrameSelection s;
    s.doc = m_frame.GetDocument();
    s.language = GetTALVOApp().GetLanguage();
    if (!s.doc)
        return s;
    // The frame's own tree says what is selected.
    CDockTreeWnd* tree = m_frame.TreeWindow();
    s.projectIndex = tree ? tree->GetActiveIndex() : -1;
    s.project = s.doc->GetTALVOProject().GetProject(s.projectIndex);
    if (!s.project)
        s.projectIndex = -1;
    CMElementList list;
    if (tree)
        tree->GetSelection(list);
    for (int i = 0; i < list.GetSize(); ++i)
        if (list[i])
            s.elements.push_back(list[i]);
    return s;
}

void CFrameCommandHandler::RenameProject(CBaseProject* project)
{
    CTALVODoc* doc = m_frame.GetDocument();
    if (!doc || !project)
        return;
    CDlgRename dialog(Parent());
    dialog.m_name = project->GetName();
    if (dialog.DoModal() != IDOK || dialog.m_name.empty() || dialog.m_name == project->GetName())
        return;
    project->SetName(dialog.m_name);
    const int index = doc->GetProjectIndex(project);
    if (CDockTreeWnd* tree = m_frame.TreeWindow(); tree && index >= 0)
        tree->SetTreeLabel(index, doc->GetTabLabel(project));
    doc->SetModifiedFlag(1);
}

bool CFrameCommandHandler::OpenModelView()
{
    CTALVODoc* doc = m_frame.GetDocument();
    CModelProject* model = doc ? doc->GetTALVOProject().GetModelProject() : nullptr;
    if (!model)
        return false;
    CWaitCursor wait;
    return GetTALVOApp().OpenModelView(model->GetModelData(0));
}

bool CFrameCommandHandler::EditDaqSettings(CDaqProject& project)
{
    CDAQConfig* config = project.GetDAQConfig();
    CDlgDAQConfig dialog(nullptr, Parent());
    dialog.m_bConfigOnly = 1; // edit mode: only the pulse settings come back
    dialog.LoadFrom(*config);
    if (dialog.DoModal() != IDOK)
        return false;
    if (!CFrameCommands::TakePulseSettings(*config, dialog.m_fPulsesPerRev, dialog.m_fRpmRatio))
        return false;
    if (CTALVODoc* doc = m_frame.GetDocument())
        doc->SetModifiedFlag(1);
    // New pulse settings change the RPM of measured data; they are kept either way.
    if (HasRpmFunctions(project) && AfxMessageBox(IDS_RECALC_PULSES, MB_YESNO | MB_ICONQUESTION) == IDYES)
        m_frame.OnCommand(C::ID_DAQ_CALC_OPTIONS_RECALC);
    return true;
}

bool CFrameCommandHandler::NewDaqSettings(CDaqProject& project)
{
    CTALVODoc* doc = m_frame.GetDocument();
    if (!doc || !EnsureQMXConnection(&doc->GetTALVOProject(), 0, 0, Parent()))
        return false;
    CDAQConfig* config = project.GetDAQConfig();
    CDlgDAQConfig dialog(nullptr, Parent());
    dialog.LoadFrom(*config);
    dialog.m_nChannelCount = doc->GetTALVOProject().GetSystemChannelCount();
    if (const COctaveManagerEx* bands = doc->GetTALVOProject().GetOctaveManager()) {
        std::vector<double> freqs;
        for (int i = 0; i < bands->GetFreqCount(); ++i)
            freqs.push_back(bands->GetUpperFreq(i));
        dialog.SetBandFrequencies(freqs);
    }
    if (dialog.DoModal() != IDOK)
        return false;
    dialog.StoreTo(*config);
    return true;
}

CDaqProject* CFrameCommandHandler::NewDaqProject()
{
    CTALVODoc* doc = m_frame.GetDocument();
    if (!doc)
        return nullptr;
    CTALVOProject& container = doc->GetTALVOProject();
    // Measured data from universal files make their own project, which goes on to the import of
    // the files; the planning wizard opened on it stays for the planning steps and later imports.
    CMkExtDaqProject builder(container);
    const int source = builder.SelectDAQSystem();
    if (source == 1) {
        builder.ImportUFData(&*CStatusBarFallback(nullptr));
        return builder.GetProject();
    }
    if (source != 0)
        return nullptr;
    CDaqProject* project = doc->NewDaqProject();
    if (!project)
        return nullptr;
    if (const CDAQConfig* shared = container.GetDAQConfig())
        project->GetDAQConfig()->Copy(*shared);
    if (const COctaveManagerEx* bands = container.GetOctaveManager(); bands && bands->GetFreqCount() > 0)
        project->GetDAQConfig()->SetMaxFreq(static_cast<float>(bands->GetUpperFreq(bands->GetFreqCount() - 1)));
    // A set-up left half-way leaves no project behind.
    if (!NewDaqSettings(*project) || !RunDaqCalcOptions(*project, false) ||
        !EditEngineRotationSetup(project, true, Parent())) {
        doc->RemoveProject(project);
        return nullptr;
    }
    doc->SetModifiedFlag(1);
    return project;
}

bool CFrameCommandHandler::RunDaqCalcOptions(CDaqProject& project, bool withRecalc)
{
    const CDAQConfig* config = project.GetDAQConfig();
    CCalcOptions edited = *project.GetCalcOptions();
    CPSheetAnaOptions sheet(IDS_CALC_OPTIONS, Parent());
    sheet.setMinimumWidth(520);
    CPPageCalcOptions calc;
    calc.SetCalcOptions(&edited);
    sheet.AddPage(&calc);
    CPPageBandAve band;
    band.SetFreqRange(config->GetMaxFreq());
    band.SetAverageParam(config->GetSamplingFreq());
    band.SetCalcOptions(&edited);
    band.SetEnableMask(0x1 | (config->GetVersion5Field() == 0 ? 0x10 : 0x20) |
                       (config->GetOption60() != 0 ? 0x200 : 0x100));
    if (GetRegOptionByStringId(IDS_OPT_ORDER_TRACKING) == 0 || config->GetOption60() == 0)
        sheet.AddPage(&band);
    CPPageOrderTracking orders;
    orders.SetCalcOptions(&edited);
    orders.SetReadOnly(true);
    sheet.AddPage(&orders);
    CPPageTargetLP target;
    if (withRecalc) {
        target.SetDaqProject(&project);
        sheet.AddPage(&target);
    }
    const bool ok = sheet.DoModal() == IDOK;
    for (CZuPropertyPage* page : std::initializer_list<CZuPropertyPage*>{&target, &orders, &band, &calc})
        if (sheet.GetPageIndex(page) >= 0)
            sheet.RemovePage(page);
    if (!ok)
        return false;
    if (CTALVODoc* doc = m_frame.GetDocument())
        doc->SetModifiedFlag(1);
    // The ticked target local points go to the data sets whether or not they are recalculated
    // now: the next calculation of each takes them from its own options.
    CMElementList retargeted;
    if (withRecalc)
        project.SetTargetLocalPoints(target.m_info, &retargeted);
    if (!withRecalc) {
        *project.GetCalcOptions() = edited;
        return true;
    }
    CMElementList used;
    if (project.GetUsedDAQExperiments(used) == 0) {
        *project.GetCalcOptions() = edited;
        AfxFormatMessageBox(IDS_RECALC_NONE_USED, MB_OK | MB_ICONEXCLAMATION, project.GetName().c_str());
        return true;
    }
    // The command recalculates: the data sets whose options changed, those that lack their maps
    // and those retargeted. Where the user is asked, Yes recalculates every used data set.
    const int all = GetRegOptionByStringId(IDS_OPT_ASK_RECALC) != 0 &&
                            AfxMessageBox(IDS_RECALC_AFTER_OPTIONS, MB_YESNO | MB_ICONQUESTION) == IDYES
                        ? 1
                        : 0;
    CWaitCursor wait;
    CMElementList sets;
    project.CollectForRecalc(sets, &edited, all);
    for (CMElement* set : retargeted)
        if (sets.Index(set) < 0)
            sets.Add(set);
    project.Recalculate(sets, &*CStatusBarFallback(nullptr));
    return true;
}

CAnalysisProject* CFrameCommandHandler::NewAnalysisProject()
{
    CTALVODoc* doc = m_frame.GetDocument();
    if (!doc)
        return nullptr;
    CTALVOProject& container = doc->GetTALVOProject();
    CMElementList candidates;
    container.GetDaqProjects(candidates);
    CDlgSelectDaqProject choose(Parent());
    choose.SetCandidates(&candidates);
    if (choose.DoModal() != IDOK)
        return nullptr;
    auto* daq = DynamicDowncast<CDaqProject>(choose.GetSelected());
    if (!daq) {
        // Without measured data the project is built from outside data.
        return ExtBuilder() ? ExtBuilder()(*doc, Parent()) : nullptr;
    }
    const CDAQConfig* config = daq->GetDAQConfig();
    const int value = config->GetOption60();
    CAnalysisProject* project = nullptr;
    if (value == 2) {
        project = doc->AddOrderAnalysisProjectFromDaq(daq);
        if (!project) {
            CGfxUtil::WarningBox(IDS_EMPTY_ORDER_LIST);
            return nullptr;
        }
        m_frame.OnCommand(CCalcCommands::ID_CALC_INPUT_POWER);
        return project;
    }
    int kind = value == 1 ? 1 : 0;
    CCalcOptions options;
    if (GetRegOptionByStringId(IDS_OPT_ORDER_TRACKING) != 0 && value == 0) {
        CDlgSelectAnalysisProjectType type(Parent());
        if (type.DoModal() != IDOK)
            return nullptr;
        kind = type.m_nType;
        if (kind == 1) {
            options = *daq->GetCalcOptions();
            if (options.GetOrderList().GetCount() == 0) {
                CGfxUtil::WarningBox(IDS_EMPTY_ORDER_LIST);
                return nullptr;
            }
        }
    }
    CRPMOptions rpm;
    if (value == 1) {
        rpm.SetMode(CRPMOptions::modeList);
        rpm.GetRpmList()->push_back(static_cast<float>(config->GetRpmRef()));
    } else {
        rpm.SetRange(static_cast<float>(config->GetRpmLow()), static_cast<float>(config->GetRpmHigh()),
                     static_cast<float>(config->GetRpmMargin()));
    }
    if (kind == 1)
        project = doc->AddOrderAnalysisProject(daq, &rpm, &options.GetOrderList(), options.GetOrderBandWidth());
    else
        project = doc->AddRpmAnalysisProject(&rpm, daq, daq->GetOctaveManager());
    if (!project)
        return nullptr;
    // The new project is the one the next commands act on.
    if (auto* tree = m_frame.TreeWindow())
        tree->SetActiveIndex(doc->GetProjectIndex(project));
    const int rpmMode = daq->IsUFData() && value == 0 ? 1 : 3;
    if (RunAnalysisOptionsSheet(*project, rpmMode, Parent()))
        m_frame.OnCommand(CCalcCommands::ID_CALC_INPUT_POWER);
    return project;
}
