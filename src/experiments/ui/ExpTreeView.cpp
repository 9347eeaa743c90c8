#include "experiments/ui/ExpTreeView.h"

#include "acquisition/ui/DlgAccelRpm.h"
#include "acquisition/ui/DlgDaqDataCheck.h"
#include "acquisition/ui/DlgQmxGainSetting.h"
#include "acquisition/ui/DlgRealTimeMonitor.h"
#include "acquisition/ui/EnsureQMXConnection.h"
#include "acquisition/ui/FormProgress.h"
#include "acquisition/ui/PSheetDAQOptions.h"
#include "calculation/CalcProjectManager.h"
#include "common/ProjectLookups.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpProject.h"
#include "experiments/RPMSignalData.h"
#include "experiments/SensorInfo.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/DlgExpProperty.h"
#include "experiments/ui/DlgSensorProperty.h"
#include "experiments/ui/ExpAnalysisOptions.h"
#include "experiments/ui/ExpDoc.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/ui/ProjectTreeModel.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/QueuedMessageTarget.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>

#include <cstdlib>

namespace {
constexpr const char* kDumpFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

void Renumber(CMElement* parent)
{
    for (int i = 0; i < parent->GetChildCount(); ++i)
        if (ElementCast<CExpDataSet>(parent->GetChild(i)))
            parent->GetChild(i)->SetName(CExpDataSet::MakeLabel(i + 1));
}
} // namespace

CExpTreeView::CExpTreeView(CExpDoc* doc, QWidget* parent)
    : QTreeView(parent), m_doc(doc), m_model(new CProjectTreeModel(this))
{
    setObjectName("ExpTreeView");
    setModel(m_model);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMinimumWidth(160);
    m_target = std::make_unique<CQueuedMessageTarget>(
        [this](uint32_t msg, uintptr_t w, intptr_t l) { return OnMessage(msg, w, l); });
    m_doc->SetNotifyTarget(m_target.get());
    connect(m_doc, &CExpDoc::InitialUpdate, this, &CExpTreeView::OnInitialUpdate);
    connect(m_doc, &CExpDoc::Update, this, &CExpTreeView::OnUpdate);
    connect(m_doc, &CExpDoc::ProjectReplaced, this, [this] {
        // The rows name the old project's elements, which go now; the new project is shown by the
        // next update, as a first one is.
        m_filling = true;
        m_model->Clear();
        m_filling = false;
        m_current = nullptr;
    });
    connect(m_doc, &CExpDoc::ElementAdded, this, &CExpTreeView::OnElementAdded);
    connect(m_doc, &CExpDoc::ElementRemoving, this, &CExpTreeView::OnElementRemoving);
    connect(m_doc, &CExpDoc::ElementRenamed, m_model, &CProjectTreeModel::ElementChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &CExpTreeView::OnCurrentChanged);
}

CExpTreeView::~CExpTreeView()
{
    // The monitor watches this window's project: it does not outlive the window.
    CDlgRealTimeMonitor::DestroyInstance();
    // A run that still reports to this window ends before the window goes.
    if (m_doc->GetNotifyTarget() == m_target.get()) {
        m_doc->EndRun();
        m_doc->SetNotifyTarget(nullptr);
    }
}

QModelIndex CExpTreeView::IndexOf(const CMElement* element) const
{
    return m_model->IndexOf(element);
}

void CExpTreeView::OnCurrentChanged(const QModelIndex& current)
{
    CMElement* element = m_model->ElementOf(current);
    if (m_filling || !element)
        return;
    m_current = element;
    m_doc->UpdateAllViews(this, CExpDoc::kHintSelect, m_current);
    emit CommandStateChanged();
}

void CExpTreeView::SelectElement(CMElement* element)
{
    const QModelIndex index = IndexOf(element);
    if (!index.isValid())
        return;
    m_filling = true;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_filling = false;
    m_current = element;
    emit CommandStateChanged();
}

void CExpTreeView::Refill()
{
    CMElement* project = m_doc->GetProject();
    if (m_model->RootCount() == 1 && m_model->RootAt(0) == project)
        return;
    m_filling = true;
    m_model->Clear();
    if (project) {
        m_model->AddRootElement(project);
        // The project and its groups open; what is below them opens on demand.
        const QModelIndex root = m_model->index(0, 0);
        expand(root);
        for (int i = 0; i < m_model->rowCount(root); ++i)
            expand(m_model->index(i, 0, root));
    }
    m_filling = false;
    // The current element must still be in the tree.
    if (m_current && !IndexOf(m_current).isValid())
        m_current = project;
}

void CExpTreeView::OnElementAdded(CMElement* element)
{
    // Below a parent the tree does not show (yet), the element comes with its parent.
    if (!element || !IndexOf(element->GetParent()).isValid())
        return;
    m_model->AddElement(element);
    // A new group of the project opens as the project's groups do.
    if (element->GetParent() == m_model->RootAt(0))
        expand(IndexOf(element));
}

void CExpTreeView::OnElementRemoving(CMElement* element)
{
    if (!element || !IndexOf(element).isValid())
        return;
    // The selection moves to what holds the element, never onto a neighbour on its own: the other
    // views hear of it with the next update.
    const bool currentGoes = m_current && (m_current == element || element->IsAncestorOf(m_current));
    if (currentGoes)
        m_current = element->GetParent();
    m_filling = true;
    m_model->RemoveElement(element);
    if (currentGoes && IndexOf(m_current).isValid())
        selectionModel()->setCurrentIndex(IndexOf(m_current), QItemSelectionModel::ClearAndSelect);
    m_filling = false;
    if (currentGoes)
        emit CommandStateChanged();
}

void CExpTreeView::OnInitialUpdate()
{
    CMElementList experiments;
    m_doc->AppendExperiments(experiments);
    if (experiments.IsEmpty())
        return;
    m_current = m_doc->GetProject();
    Refill();
    SelectElement(m_current);
    const CExpDAQAccess& daq = m_doc->DAQ();
    if (daq.GetUnitCount() > 0) {
        if (!daq.CheckAllChannels())
            daq.SetActive(0);
        // The engine-speed pulses are measured in every run, whatever the groups name.
        const CExpProject* project = m_doc->GetProject();
        if (project && !daq.SetChannelParam(project->GetRpmSignalChannel(), 1))
            daq.SetActive(0);
        daq.SetActive(1);
    }
}

void CExpTreeView::OnUpdate(QObject* sender, int, CMElement* element)
{
    if (sender == this)
        return;
    if (m_current && m_doc->GetProject() && m_current != m_doc->GetProject() &&
        !m_doc->GetProject()->IsAncestorOf(m_current))
        m_current = nullptr;
    // The rows follow the project's tree by themselves; only another project is shown afresh.
    Refill();
    if (element && IndexOf(element).isValid())
        SelectElement(element);
    else if (m_current)
        SelectElement(m_current);
    emit CommandStateChanged();
}

const CExpTreeView::CommandTable& CExpTreeView::Commands()
{
    static const CommandTable table = [] {
        using Entry = CommandTable::Entry;
        CommandTable t;
        // toolBarPos: the place on the frame's command bar (a new hundred behind a separator);
        // menu "System": the developer menu.
        auto add = [&t](int id, const char* text, int toolBarPos, const char* menu, int menuPos,
                        Entry::EnableRule enabled, Entry::Action run) {
            Entry e;
            e.id = id;
            e.text = text;
            e.toolBarPos = toolBarPos;
            e.menu = menu;
            e.menuPos = menuPos;
            e.enabled = std::move(enabled);
            e.run = std::move(run);
            t.Add(std::move(e));
        };
        auto hasProject = [](const CExpTreeView& v) { return v.m_doc->GetProject() != nullptr; };
        // A run can start (and the gains be set) when every unit is ready.
        auto unitsReady = [](const CExpTreeView& v) {
            const CExpDAQAccess& daq = v.m_doc->DAQ();
            return v.m_doc->GetProject() && daq.AreAllUnitsReady() && daq.GetState() != 0;
        };
        auto unitsThere = [](const CExpTreeView& v) {
            const CExpDAQAccess& daq = v.m_doc->DAQ();
            return v.m_doc->GetProject() && daq.GetUnitCount() > 0 && daq.GetState() != 0;
        };

        add(ID_SETUP_CHANNELS, "Set Up Channels", 0, "", 0, unitsThere, [](CExpTreeView& v, const CExpTreeView&) {
            auto* daqProject = dynamic_cast<CMElement*>(v.m_doc->GetProject()->GetDAQProject());
            IProjectLookups* lookups = IProjectLookups::FindOwner(daqProject);
            if (!EnsureQMXConnection(lookups, 0, 1, &v))
                return false;
            if (!v.m_doc->SetupChannels()) {
                AfxMessageBox(IDS_SETUP_FAILED, MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
            return true;
        });
        add(ID_START_RUN, "Start Measurement", 1, "", 0, unitsReady, [](CExpTreeView& v, const CExpTreeView&) {
            if (!v.m_doc->StartRun()) {
                AfxMessageBox(IDS_RUN_NOT_STARTED, MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
            return true;
        });
        add(ID_GAIN_SETTING, "Gain Setting", 2, "", 0, unitsReady, [](CExpTreeView& v, const CExpTreeView&) {
            CDlgQmxGainSetting dialog(v.m_doc->GetProject(), v.window());
            dialog.DoModal();
            return true;
        });
        add(ID_PROPERTIES, "Properties", 100, "", 0, hasProject, [](CExpTreeView& v, const CExpTreeView&) {
            v.OnProperties();
            return true;
        });
        add(
            ID_DELETE, "Delete", 101, "", 0,
            [](const CExpTreeView& v) {
                if (ElementCast<CExpDataSet>(v.m_current) || ElementCast<CCalcProjectManager>(v.m_current))
                    return true;
                return v.m_current && v.m_current == v.m_doc->GetProject();
            },
            [](CExpTreeView& v, const CExpTreeView&) {
                v.OnDelete();
                return true;
            });
        add(ID_DATA_CHECK, "Data Check", 102, "", 0, hasProject, [](CExpTreeView& v, const CExpTreeView&) {
            v.OnDataCheck();
            return true;
        });
        add(
            ID_EXP_ANALYSIS_OPTIONS, "Analysis Options", 103, "", 0,
            [](const CExpTreeView& v) {
                const CExpProject* project = v.m_doc->GetProject();
                const CRPMSignalData* signal = project ? project->GetRPMSignalData() : nullptr;
                return signal && signal->GetChildCount() > 0;
            },
            [](CExpTreeView& v, const CExpTreeView&) {
                v.OnAnalysisOptions();
                return true;
            });
        add(ID_DAQ_OPTIONS, "DAQ Options", 104, "", 0, hasProject, [](CExpTreeView& v, const CExpTreeView&) {
            v.OnDaqOptions();
            return true;
        });
        add(
            ID_ACCEL_RPM, "Acceleration RPM", 105, "", 0,
            [](const CExpTreeView& v) {
                const CExpProject* project = v.m_doc->GetProject();
                return project && project->GetMode() != 1 && v.SelectedPulseChannel() != nullptr;
            },
            [](CExpTreeView& v, const CExpTreeView&) {
                return CDlgAccelRpm::ShowStoredPulse(*v.SelectedPulseChannel(), v.m_doc->GetProject()->GetMode(),
                                                     v.window()) != nullptr;
            });
        add(ID_REAL_TIME_MONITOR, "&Real Time Monitor", -1, "System", 0, unitsThere,
            [](CExpTreeView& v, const CExpTreeView&) {
                return CDlgRealTimeMonitor::Open(v.m_doc->GetProject(), v.window()) != nullptr;
            });
        add(ID_DUMP, "&Dump Data ...", -1, "System", 1, hasProject, [](CExpTreeView& v, const CExpTreeView&) {
            v.OnDump(false);
            return true;
        });
        add(ID_DUMP_PARAM, "&Dump Data (with Parameter)...", -1, "System", 2, hasProject,
            [](CExpTreeView& v, const CExpTreeView&) {
                v.OnDump(true);
                return true;
            });
        add(ID_NOTHING, "", -1, "", 0, hasProject, [](CExpTreeView&, const CExpTreeView&) { return true; });
        return t;
    }();
    return table;
}

bool CExpTreeView::IsCommandEnabled(int id) const
{
    return Commands().IsEnabled(id, *this);
}

CExpData* CExpTreeView::SelectedPulseChannel() const
{
    CMElement* element = m_current;
    if (ElementCast<CExpDataSet>(element))
        element = element->GetChildCount() > 0 ? element->GetChild(0) : nullptr;
    auto* data = ElementCast<CExpData>(element);
    CExpDataSet* set = data ? data->GetDataSet() : nullptr;
    return set && ElementCast<CRPMSignalData>(set->GetParent()) ? data : nullptr;
}

bool CExpTreeView::OnCommand(int id)
{
    return Commands().Run(id, *this, *this);
}

void CExpTreeView::OnAnalysisOptions()
{
    CExpProject* project = m_doc->GetProject();
    if (!project || !RunExpAnalysisOptions(*project, this))
        return;
    {
        CWaitCursor wait;
        m_doc->BuildCalcData();
    }
    m_doc->UpdateAllViews(nullptr, CExpDoc::kHintNone, project);
}

void CExpTreeView::OnDataCheck()
{
    if (!CDlgDaqDataCheck::GetInstance())
        CDlgDaqDataCheck::CreateInstance(m_doc->GetProject(), window());
}

void CExpTreeView::OnDaqOptions()
{
    CPSheetDAQOptions sheet(MessageTextOf(IDS_DAQ_OPTIONS), m_doc->GetProject(), &m_doc->GetExpOptions(), 0, window());
    if (sheet.DoModal() != IDOK)
        return;
    sheet.m_page1.SaveToExpOptions();
    sheet.m_page2.SaveToExpOptions();
    // The calculation pages wrote into the DAQ project's options: its document has changes to save.
    if (sheet.m_pageCalc.IsInitialized() || sheet.m_pageBandAve.IsInitialized())
        if (IDaqProjectAccess* daq = m_doc->GetProject()->GetDAQProject())
            daq->SetModified();
    m_doc->UpdateAllViews(nullptr, 0, nullptr);
}

void CExpTreeView::OnDelete()
{
    CExpProject* project = m_doc->GetProject();
    CMElement* element = m_current;
    if (!project || !element)
        return;
    CMElement* hint = nullptr;
    if (element == project) {
        if (AfxFormatMessageBox(IDS_DELETE_PROJECT, MB_YESNO | MB_ICONQUESTION, project->GetName().c_str()) != IDYES)
            return;
        for (int i = project->GetChildCount() - 1; i >= 0; --i) {
            CMElement* child = project->GetChild(i);
            if (ElementCast<CExcitation>(child) || ElementCast<CRPMSignalData>(child)) {
                for (int j = child->GetChildCount() - 1; j >= 0; --j)
                    child->DeleteChild(j, 1);
            } else if (ElementCast<CCalcProjectManager>(child)) {
                project->DeleteChild(child, 1);
            }
        }
        hint = project;
    } else if (ElementCast<CExpDataSet>(element)) {
        if (AfxMessageBox(IDS_DELETE_SELECTED, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        // The block goes everywhere: its pulse channel and every excitation's data set of it.
        CMElementList selection;
        selection.Add(element);
        project->ExpandDataSetSelection(selection);
        hint = element->GetParent();
        std::vector<CMElement*> parents;
        for (CMElement* set : selection) {
            CMElement* parent = set->GetParent();
            if (std::find(parents.begin(), parents.end(), parent) == parents.end())
                parents.push_back(parent);
            parent->DeleteChild(set, 1);
        }
        for (CMElement* parent : parents)
            Renumber(parent);
    } else if (ElementCast<CCalcProjectManager>(element)) {
        if (AfxMessageBox(IDS_DELETE_SELECTED, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        hint = element->GetParent();
        hint->DeleteChild(element, 1);
    } else {
        return;
    }
    m_current = hint;
    m_doc->SetModifiedFlag();
    // Every view is told what is left, so that none keeps the deleted element.
    m_doc->UpdateAllViews(nullptr, CExpDoc::kHintNone, hint);
    if (CDlgDaqDataCheck* check = CDlgDaqDataCheck::GetInstance())
        check->Refresh();
}

void CExpTreeView::OnProperties()
{
    auto* data = ElementCast<CExpData>(m_current);
    CExpDataSet* set = data ? data->GetDataSet() : nullptr;
    if (data && set && !ElementCast<CRPMSignalData>(set->GetParent())) {
        tagSENSORINFO info;
        if (!data->GetSensorInfo(info))
            return;
        CDlgSensorProperty dialog(this);
        dialog.m_values.id = info.ID;
        dialog.m_values.manufacturer = info.Manufacturer;
        dialog.m_values.model = info.Model;
        dialog.m_values.serialNumber = info.SerialNumber;
        dialog.m_values.sensitivity = info.ChannelInfo.Sensitivity;
        dialog.m_values.limit = info.ChannelInfo.Limit;
        switch (info.ChannelInfo.DataType) {
        case SENSOR_DATATYPE_ACCELERATION:
            dialog.m_values.unitChoice = info.ChannelInfo.Unit == 0 ? 1 : 0;
            break;
        case SENSOR_DATATYPE_FORCE:
            dialog.m_values.unitChoice = 3;
            break;
        case SENSOR_DATATYPE_PRESSURE:
            dialog.m_values.unitChoice = 2;
            break;
        default:
            break;
        }
        dialog.m_channel = info.ChannelInfo.Channel;
        dialog.m_scale = info.ChannelInfo.Scale;
        dialog.m_comment = info.ChannelInfo.Comment;
        if (dialog.DoModal() != IDOK)
            return;
        info.ID = dialog.m_values.id;
        info.Manufacturer = dialog.m_values.manufacturer;
        info.Model = dialog.m_values.model;
        info.SerialNumber = dialog.m_values.serialNumber;
        info.ChannelInfo.Sensitivity = dialog.m_values.sensitivity;
        info.ChannelInfo.Limit = dialog.m_values.limit;
        data->ReplaceSensorInfo(info);
        m_doc->SetModifiedFlag();
        m_doc->UpdateAllViews(nullptr, CExpDoc::kHintNone, data);
        return;
    }
    CExpProject* project = m_doc->GetProject();
    CDlgExpProperty* dialog = CDlgExpProperty::CreateInstance(this, this);
    if (!dialog)
        return;
    dialog->SetMode(CDlgExpProperty::modeStored);
    dialog->SetDAQProject(project->GetDAQProject());
    dialog->SetExperiment(project->GetExperimentList());
    dialog->SetOpenerWindow(m_target.get());
    dialog->Create();
}

void CExpTreeView::OnDump(bool withParameter)
{
    FileChooserOptions options;
    options.filter = kDumpFilter;
    options.defaultExt = "txt";
    options.overwritePrompt = true;
    std::string path;
    if (!PromptSaveFile(options, path))
        return;
    int param = 0;
    if (withParameter) {
        std::string text;
        if (!InputBox("Please, input the parameter.", "Parameter", text, this))
            return;
        param = std::atoi(text.c_str());
    }
    CWaitCursor wait;
    m_doc->WriteDump(m_current, path, param);
}

intptr_t CExpTreeView::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    emit MessageHandled(msg);
    switch (msg) {
    case WM_ZU_DAQ_STARTED: {
        if (CFormProgress* form = CFormProgress::GetInstance()) {
            form->showNormal();
            form->raise();
        } else if (CFormProgress* created =
                       CFormProgress::CreateInstance(window(), m_target.get(), m_doc->DAQ().Units())) {
            created->Create();
            const CExpProject* project = m_doc->GetProject();
            if (created->StopButton())
                created->StopButton()->setVisible(project && project->GetMode() == 0);
        }
        return 0;
    }
    case WM_ZU_DAQ_STOPPED:
        // A run that lost a unit ends here without completing: what came before is kept.
        m_doc->OnRunStopped();
        return 0;
    case WM_ZU_DAQ_STOP:
        return m_doc->StopRun();
    case WM_ZU_DAQ_COMPLETE: {
        const intptr_t result = m_doc->OnDAQComplete();
        if (result == 0)
            m_doc->UpdateAllViews(nullptr, CExpDoc::kHintRunDone, m_doc->GetProject());
        return result;
    }
    case WM_ZU_DAQ_DATA:
        if (CDlgRealTimeMonitor* monitor = CDlgRealTimeMonitor::GetInstance())
            monitor->SetChannel(-1);
        if (m_doc->DAQ().IsAnyUnitFlagSet())
            return -1;
        return m_doc->OnDAQData(wParam, lParam);
    case WM_ZU_DAQ_RECORD_START:
    case WM_ZU_SAMPLING_START:
        return m_doc->OnRecordStartMsg();
    case WM_ZU_DAQ_RECORD_END:
        return m_doc->OnRecordEndMsg();
    case WM_ZU_SAMPLING_STOP:
        return m_doc->OnTriggerReset();
    case WM_ZU_SAMPLING_CLOSED:
        return m_doc->OnDAQAbort();
    case WM_ZU_SET_MODIFIED:
        m_doc->SetModifiedFlag(wParam != 0);
        return 0;
    case WM_ZU_DAQ_TRANSFER_BEGIN:
    case WM_ZU_DAQ_TRANSFER_DONE: {
        // The run's progress: the manager shows it through the run's feedback.
        intptr_t result = 0;
        m_doc->GetRunManager().RouteMessage(msg, wParam, lParam, &result);
        return result;
    }
    case WM_ZU_SAMPLING_ENDED:
    case WM_ZU_SAMPLING_DESTROY:
        if (CFormProgress* form = CFormProgress::GetInstance())
            return form->Target()->SendMessage(msg, wParam, lParam);
        return 0;
    default:
        return 0;
    }
}
