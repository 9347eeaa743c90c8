#include "experiments/ui/ExpDoc.h"

#include "acquisition/DAQDataSet.h"
#include "acquisition/DAQIO.h"
#include "acquisition/ui/DlgRealTimeMonitor.h"
#include "acquisition/ui/FormProgress.h"
#include "acquisition/ui/FormProgressFeedback.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "calculation/CalcProjectManager.h"
#include "experiments/DAQConfig.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/RPMSignalData.h"
#include "experiments/SensorInfo.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"
#include "platform/base/Format.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/MElement.h"
#include "platform/elements/StdioFile.h"
#include "platform/win/Messages.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "acquisition/ui/DlgExpDataComp.h"

#include <algorithm>
#include <cmath>

namespace {

bool g_applicationClosing = false;

ExpChannelSettings SettingsOf(const CHANNELINFO& info, int channel)
{
    ExpChannelSettings s;
    s.channel = channel;
    s.attachPoint = info.AttachPoint;
    s.comment = info.Comment;
    s.dataType = info.DataType;
    s.sensitivity = info.Sensitivity;
    s.unit = info.Unit;
    s.range = static_cast<float>(info.Range);
    s.autoRange = info.AutoRange;
    s.coupling = info.Coupling;
    s.scale = info.Scale;
    s.limit = info.Limit;
    return s;
}
} // namespace

CExpDoc::CExpDoc(QObject* parent) : QObject(parent)
{
    (void)m_reserved;
    m_listener = AddObjectGoingListener([this](const void* object) { OnObjectGoing(object); });
}

CExpDoc::~CExpDoc()
{
    RemoveObjectGoingListener(m_listener);
    EndRun();
    ReplaceProject(nullptr);
}

// ---- the project ----

void CExpDoc::ReplaceProject(std::unique_ptr<CExpProject> project)
{
    std::unique_ptr<CExpProject> old = std::move(m_project);
    if (old)
        old->SetTreeObserver(nullptr);
    m_project = std::move(project);
    if (m_project)
        m_project->SetTreeObserver(this);
    // A view still showing the old project's elements must drop them before they go.
    if (old || m_project)
        emit ProjectReplaced();
    old.reset();
}

void CExpDoc::OnObjectGoing(const void* object)
{
    if (!m_project || !object)
        return;
    // An element on its way out is a bare element by now: it is found by address, among the
    // listed data sets and everything above them (still whole while they are).
    bool shown = m_daqElement == object;
    for (const CMElement* e : m_project->GetExperimentList())
        for (const CMElement* up = e; up && !shown; up = up->GetParent())
            shown = up == object;
    if (!shown)
        return;
    m_daqElement = nullptr;
    EndRun();
    // The listed data sets are not the project's own: it must not reach them as it goes.
    m_project->SetExperiments(CMElementList());
    m_project->SetDAQProject(nullptr);
    ReplaceProject(nullptr);
    emit CloseRequested();
}

void CExpDoc::SetProject(std::unique_ptr<CExpProject> project)
{
    ReplaceProject(std::move(project));
    if (m_project)
        m_project->SetViewRefresh({});
}

CExpProject* CExpDoc::NewProject()
{
    SetProject(std::make_unique<CExpProject>("DAQ System", nullptr, -1));
    return m_project.get();
}

CExpProject* CExpDoc::MergeProjects(const CMElementList& dataSets)
{
    ReplaceProject(nullptr);
    CDAQIO reader(dataSets);
    reader.SetMode(1);
    CStatusBarFallback messages(nullptr);
    reader.SetFeedback(&*messages);
    std::unique_ptr<CExpProject> merged = reader.MergeProjects();
    if (!reader.GetErrorList().empty()) {
        if (merged)
            merged->SetExperiments(CMElementList());
        return nullptr;
    }
    SetProject(std::move(merged));
    return m_project.get();
}

int CExpDoc::AppendExperiments(CMElementList& list) const
{
    if (!m_project)
        return 0;
    list.Append(m_project->GetExperimentList());
    return 1;
}

int CExpDoc::CollectExperimentObjects(std::vector<CObject*>& objects) const
{
    return m_project ? m_project->CollectExperimentObjects(objects) : 0;
}

// ---- the window ----

void CExpDoc::UpdateAllViews(QObject* sender, int hint, CMElement* element)
{
    emit Update(sender, hint, element);
}

std::vector<double> CExpDoc::MakeRpmList() const
{
    std::vector<double> list;
    if (!m_project || !m_project->GetDAQConfig())
        return list;
    if (m_project->GetMode() == 0) {
        const int low = m_project->GetRpmLow();
        const int high = m_project->GetRpmHigh();
        const int step = m_project->GetRpmStep();
        // A step of 0 would never reach the high end.
        if (step <= 0) {
            list.push_back(low);
            return list;
        }
        for (int rpm = low; rpm <= high; rpm += step)
            list.push_back(rpm);
    } else {
        list.push_back(m_project->GetConstantRpm());
    }
    return list;
}

void CExpDoc::UpdateRpmCombo()
{
    if (m_frame)
        m_frame->FillRpmCombo(MakeRpmList());
}

void CExpDoc::SetTitle(const std::string& title)
{
    m_title = title;
    emit TitleChanged(QString::fromStdString(title));
}

void CExpDoc::SendInitialUpdate()
{
    emit InitialUpdate();
    UpdateRpmCombo();
}

void CExpDoc::SetMeasuredData(CDaqProject* project, const CMElementList& dataSets)
{
    m_daqElement = project;
    CExpProject* exp = NewProject();
    exp->SetDAQProject(project);
    exp->SetExperiments(dataSets);
    exp->SetMode(project && project->GetDAQConfig() ? project->GetDAQConfig()->GetOption60() : 0);
    exp->CreateDefaultChildren();
    exp->ResizeChannelRanges();
}

void CExpDoc::SetReadData(std::unique_ptr<CExpProject> project, std::vector<std::unique_ptr<CObject>> keep)
{
    SetProject(std::move(project));
    m_daqElement = m_project ? dynamic_cast<const CMElement*>(m_project->GetDAQProject()) : nullptr;
    m_keep = std::move(keep);
    // Data read from a file are stored data: closing their window asks nothing about measuring on.
    SetSavedFlag(1);
}

void CExpDoc::CloseDocument()
{
    emit CloseRequested();
}

// ---- measuring ----

void CExpDoc::SetDAQInterface(CMultiQMXInterface* daq)
{
    m_daqOverride = daq;
    m_daq = CExpDAQAccess(daq);
    m_manager.SetInterface(daq);
}

int CExpDoc::SetupChannels()
{
    if (!m_project)
        return 0;
    m_project->ResizeChannelRanges();
    std::vector<ExpChannelSettings> channels;
    for (int g = 0; g < m_project->GetExcitationNameCount(); ++g) {
        for (int j = 0; j < m_project->GetGroupItemCount(g); ++j) {
            CHANNELINFO info;
            if (!m_project->GetChannelInfo(g, j, info)) {
                AfxFormatMessageBox(IDS_NO_SENSOR_FOR, MB_OK | MB_ICONEXCLAMATION,
                                    m_project->GetGroupItemText(g, j).c_str());
                return 0;
            }
            channels.push_back(SettingsOf(info, m_project->GetGroupItemValue(g, j)));
        }
    }
    const int rpmChannel = m_project->GetRpmSignalChannel();
    int failed = -1;
    const int result = m_daq.SetupRunChannels(m_project->GetSystemChannelCount(), rpmChannel,
                                              m_project->GetChannelRange(rpmChannel), channels, &failed);
    if (result == 0)
        return 0;
    if (result < 0) {
        AfxFormatMessageBox(IDS_CHANNEL_FAILED, MB_OK | MB_ICONEXCLAMATION, failed + 1);
        return 0;
    }
    ConfigureRunManager();
    return 1;
}

void CExpDoc::ConfigureRunManager()
{
    if (!m_project)
        return;
    CDAQConfig* config = m_project->GetDAQConfig();
    const int mode = m_project->GetMode();
    m_runValue = config ? (mode == 0 ? config->GetTimeSpan() : config->GetMeasureTime()) : 0.0f;
    m_manager.SetFreeRun(mode);
    m_manager.SetDuration(m_runValue);
    m_manager.SetOwnerProject(m_project->GetDAQProject());
    m_manager.SetSupport(this);
    m_manager.SetDAQConfig(config);
    m_manager.SetInterface(m_daqOverride);
    m_manager.Prepare();
}

int CExpDoc::StartRun()
{
    m_manager.SetSupport(this);
    m_formFeedback = std::make_unique<CFormProgressFeedback>();
    m_manager.SetFeedback(m_runFeedback ? m_runFeedback : m_formFeedback.get());
    m_daq.SetDuration(m_runValue);
    m_daq.SetNotifyWindow(m_notifyTarget, WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
    // The run waits, armed, for the Start of the sampling window: what is measured begins there.
    m_daq.SetStartOnTrigger(true);
    const int started = m_manager.Start();
    if (!started)
        m_daq.SetStartOnTrigger(false);
    m_runActive = started != 0;
    return started;
}

void CExpDoc::EndRun()
{
    if (!m_runActive)
        return;
    m_runActive = false;
    // The window is told nothing more: it may already be on its way out.
    m_daq.ReleaseNotifyWindow(m_notifyTarget);
    // The units stop and their worker ends before the document or its window goes.
    m_manager.OnDAQAbort();
    if (CFormProgress* form = CFormProgress::GetInstance(); form && form->Owner() == m_notifyTarget)
        CFormProgress::DestroyInstance();
}

intptr_t CExpDoc::OnDAQComplete()
{
    // The interface tells this window about its runs only while one goes.
    m_daq.ReleaseNotifyWindow(m_notifyTarget);
    m_runActive = false;
    return m_manager.OnDAQComplete();
}

intptr_t CExpDoc::OnDAQAbort()
{
    m_runActive = false;
    return m_manager.OnDAQAbort();
}

int CExpDoc::OnRunStopped()
{
    if (!m_runActive)
        return 0;
    m_runActive = false;
    m_daq.ReleaseNotifyWindow(m_notifyTarget);
    m_manager.OnDAQStopped();
    const CDAQRunFault fault = m_daq.GetRunFault();
    if (fault.Unit < 0)
        return 0;
    int stored = 0;
    bool saved = false;
    // What every answering unit acquired up to the loss is a measurement of its own; the lost
    // unit's channels are kept in it as missing, so the run stays whole for what was measured. A
    // lost first unit transferred nothing: the answering units' common count is what there is.
    const int n = fault.Unit == 0 ? fault.SamplesKept : std::min(fault.SamplesKept, m_daq.GetFirstUnitValue());
    m_keepUnreadable = true;
    m_rpmSignalMissing = false;
    m_missingStored.clear();
    const int dataSetsBefore =
        m_project && m_project->GetRPMSignalData() ? m_project->GetRPMSignalData()->GetChildCount() : 0;
    if (n > 0 && StoreRun(n)) {
        stored = 1;
        UpdateAllViews(nullptr, kHintNone, nullptr);
        saved = DoFileSave() != 0;
    }
    m_keepUnreadable = false;
    CFormProgress::DestroyInstance();
    std::string text = Format("Acquisition unit %d stopped answering during the measurement.\n", fault.Unit + 1);
    if (m_rpmSignalMissing)
        text += "The engine-speed signal was lost with it and is marked missing (no samples) in the run.\n";
    if (stored) {
        const int sets = m_project->GetRPMSignalData()->GetChildCount() - dataSetsBefore;
        if (saved)
            text += Format("Kept: %d samples per channel of the answering units, stored as %d new data set%s.", n, sets,
                           sets == 1 ? "" : "s");
        else
            // The data set lives in this window alone until a save of it succeeds.
            text += Format("Kept: %d samples per channel of the answering units as %d new data set%s in this "
                           "window only, not stored: the measurement file could not be written. The window's next "
                           "measurement writes it again; closing the window before that loses it.",
                           n, sets, sets == 1 ? "" : "s");
        if (!m_missingStored.empty())
            text += "\nNot kept: " + ChannelListText(m_missingStored) +
                    ", which had no readable data and are marked missing (no samples) in the run.";
    } else {
        text += "Nothing of the run could be kept";
        text +=
            n > 0 ? ": no channel of the run could be read." : ": no samples were acquired before the unit was lost.";
    }
    m_missingStored.clear();
    CStatusBarFallback(m_runFeedback ? m_runFeedback : m_formFeedback.get())->Warning(text);
    return stored;
}

std::string CExpDoc::ChannelListText(const std::vector<int>& channels)
{
    std::string list = channels.size() == 1 ? "channel " : "channels ";
    for (size_t i = 0; i < channels.size(); ++i) {
        if (i == 16) {
            list += Format(" and %d more", static_cast<int>(channels.size() - i));
            break;
        }
        list += Format(i == 0 ? "%d" : ", %d", channels[i] + 1);
    }
    return list;
}

int CExpDoc::BlockLengthOf(int mode, int blockMode, double projectLength, float sampleRate, int n)
{
    if (n < 1)
        return 0;
    if (mode == 0)
        return n;
    if (blockMode == 0)
        return projectLength >= 1.0 && projectLength < 2147483647.0 ? static_cast<int>(projectLength) : 0;
    const int rate = sampleRate >= 1.0f && sampleRate < 1.0e9f ? static_cast<int>(sampleRate) : 0;
    if (rate < 1)
        return 0;
    int length = 1;
    while (length < rate)
        length <<= 1;
    return length;
}

int CExpDoc::GetBlockLength(int n) const
{
    if (!m_project)
        return 0;
    const int mode = m_project->GetMode();
    const int blockMode = m_project->GetBlockMode();
    const double projectLength = mode == 1 && blockMode == 0 ? m_project->GetBlockLength(0.0f, 0.0f, 0.0f) : 0.0;
    const float rate = mode == 1 && blockMode != 0 ? m_daq.GetSampleRate() : 0.0f;
    return BlockLengthOf(mode, blockMode, projectLength, rate, n);
}

int CExpDoc::StoreRun(int n)
{
    m_storeOk = false;
    m_runSets.clear();
    if (!m_project || n < 1)
        return 0;
    const int length = GetBlockLength(n);
    if (length < 1) {
        AfxMessageBox(IDS_BLOCK_TOO_SHORT, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    const int ok = StoreRpmSignal(n, length) && StoreChannelData(n, length);
    if (!ok) {
        RemoveRunDataSets();
        return 0;
    }
    m_runSets.clear();
    m_storeOk = true;
    return 1;
}

int CExpDoc::StoreRpmSignal(int n, int length)
{
    const int blocks = n / length;
    const int channel = m_project->GetRpmSignalChannel();
    for (int k = 0; k < blocks; ++k) {
        CExpDataSet* set = m_project->AddRpmSignalDataSet();
        if (!set)
            return 0;
        m_runSets.emplace_back(set->GetParent(), set);
        auto* record = ElementCast<CExpData>(set->GetChild(0));
        if (!record)
            return 0;
        record->SetSampleCount(length);
        if (!m_daq.ReadData(channel, record->GetData(), length, k * length)) {
            // The signal of a lost unit: the channels of the answering units are still a run.
            if (m_keepUnreadable) {
                record->SetSampleCount(0);
                m_rpmSignalMissing = true;
                continue;
            }
            AfxMessageBox(IDS_READ_FAILED, MB_OK | MB_ICONEXCLAMATION);
            return 0;
        }
    }
    SetModifiedFlag();
    return 1;
}

int CExpDoc::StoreChannelData(int n, int length)
{
    const int blocks = n / length;
    const int groups = m_project->GetExcitationNameCount();
    int read = 0;
    int missing = 0;
    std::vector<std::vector<CExpDataSet*>> made(static_cast<size_t>(groups));
    // A group item without its sensor is told as the run's other messages are.
    CStatusBarFallback messages(m_runFeedback ? m_runFeedback : m_formFeedback.get());
    for (int g = 0; g < groups; ++g) {
        for (int k = 0; k < blocks; ++k) {
            CExpDataSet* set = m_project->AddExcitationDataSet(g, &*messages);
            if (!set)
                return 0;
            m_runSets.emplace_back(set->GetParent(), set);
            made[static_cast<size_t>(g)].push_back(set);
        }
    }
    for (int g = 0; g < groups; ++g) {
        const auto& sets = made[static_cast<size_t>(g)];
        if (sets.empty())
            continue;
        for (int j = 0; j < sets.front()->GetChildCount(); ++j) {
            auto* first = ElementCast<CExpData>(sets.front()->GetChild(j));
            if (!first)
                continue;
            const std::string excitation = m_project->GetExcitationName(g);
            // The record's local point is its item in the excitation's group.
            const int channel = m_project->GetGroupItemValue(excitation, first->GetLocalPointNumber());
            for (int k = 0; k < blocks; ++k) {
                auto* record = ElementCast<CExpData>(sets[static_cast<size_t>(k)]->GetChild(j));
                if (!record)
                    return 0;
                record->SetSampleCount(length);
                if (channel < 0 || !m_daq.ReadData(channel, record->GetData(), length, k * length)) {
                    if (m_keepUnreadable && channel >= 0) {
                        record->SetSampleCount(0);
                        if (std::find(m_missingStored.begin(), m_missingStored.end(), channel) == m_missingStored.end())
                            m_missingStored.push_back(channel);
                        ++missing;
                        continue;
                    }
                    AfxMessageBox(IDS_READ_FAILED, MB_OK | MB_ICONEXCLAMATION);
                    return 0;
                }
                ++read;
            }
        }
    }
    // A run of which nothing at all could be read is no measurement.
    if (read == 0 && missing > 0)
        return 0;
    std::sort(m_missingStored.begin(), m_missingStored.end());
    SetModifiedFlag();
    return 1;
}

void CExpDoc::RemoveRunDataSets()
{
    std::vector<CMElement*> parents;
    for (auto it = m_runSets.rbegin(); it != m_runSets.rend(); ++it) {
        it->first->DeleteChild(it->second, 1);
        if (std::find(parents.begin(), parents.end(), it->first) == parents.end())
            parents.push_back(it->first);
    }
    for (CMElement* parent : parents)
        for (int i = 0; i < parent->GetChildCount(); ++i)
            parent->GetChild(i)->SetName(CExpDataSet::MakeLabel(i + 1));
    m_runSets.clear();
    // No view may keep a data set that is gone.
    UpdateAllViews(nullptr, kHintNone, m_project.get());
}

int CExpDoc::CanStart()
{
    if (!m_project)
        return 1;
    std::vector<std::pair<int, float>> ranges;
    const int rpmChannel = m_project->GetRpmSignalChannel();
    ranges.emplace_back(rpmChannel, m_project->GetChannelRange(rpmChannel));
    for (int g = 0; g < m_project->GetExcitationNameCount(); ++g)
        for (int j = 0; j < m_project->GetGroupItemCount(g); ++j) {
            const int channel = m_project->GetGroupItemValue(g, j);
            ranges.emplace_back(channel, m_project->GetChannelRange(channel));
        }
    // The table holds exactly the records made, however many items the groups have.
    m_daq.ApplyChannelRanges(ranges);
    for (const auto& [channel, range] : ranges)
        m_project->SetChannelRange(channel, range);
    return 1;
}

int CExpDoc::OnRpm(float rpm)
{
    if (CDlgRealTimeMonitor* monitor = CDlgRealTimeMonitor::GetInstance())
        monitor->ShowRpm(rpm, m_daq.Units());
    return 1;
}

int CExpDoc::OnDataReady()
{
    const int n = m_daq.GetFirstUnitValue();
    const int ok = n >= 1 ? StoreRun(n) : 0;
    if (n < 1)
        m_storeOk = false;
    CFormProgress::DestroyInstance();
    return ok;
}

int CExpDoc::OnComplete()
{
    UpdateAllViews(nullptr, kHintNone, nullptr);
    if (m_frame && m_frame->TreeView())
        m_frame->TreeView()->OnCommand(CExpTreeView::ID_DATA_CHECK);
    // A run whose data could not be stored is not saved as a measurement. One that was is
    // calculated at once: its data sets carry their maps over RPM (and over order where order
    // tracking is on) and their channel levels into the project, as a recalculation leaves them.
    if (m_storeOk) {
        BuildCalcData();
        // Saved, the data sets hold a measurement: they take part in what is averaged from now
        // on (an automation client, a recalculation), not only once the window is closed.
        if (DoFileSave())
            for (CMElement* experiment : m_project->GetExperimentList())
                if (IDAQDataSet* set = AsDAQDataSet(experiment))
                    set->SetUseFlag(1);
    }
    return 1;
}

// ---- files ----

int CExpDoc::DoFileSave()
{
    if (!m_project)
        return 0;
    CDAQIO io(m_project->GetExperimentList());
    CStatusBarFallback messages(nullptr);
    io.SetFeedback(&*messages);
    if (io.SaveAll(m_project.get())) {
        SetModifiedFlag(false);
        return 1;
    }
    if (io.GetErrorList().empty())
        AfxMessageBox(CDAQIO::FormatError(tagERRORINFO{}), MB_OK | MB_ICONEXCLAMATION);
    for (const tagERRORINFO& error : io.GetErrorList())
        AfxMessageBox(CDAQIO::FormatError(error), MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

int CExpDoc::WriteDump(CMElement* element, const std::string& path, int param)
{
    auto* writer = dynamic_cast<IDataWriter*>(element);
    if (!writer || path.empty())
        return 0;
    CStdioFile file;
    if (!file.Open(path, CStdioFile::modeWrite))
        return 0;
    writer->WriteDump(file, param ? Format("%d", param) : std::string());
    file.Close();
    return 1;
}

int CExpDoc::BuildCalcData()
{
    if (!m_project)
        return 0;
    CMElementList list;
    if (!CCalcProjectManager::BuildCalcDataList(*m_project, list)) {
        AfxMessageBox(IDS_NO_CALC_DATA, MB_OK | MB_ICONEXCLAMATION);
        list.Clear(1);
        return 0;
    }
    for (CMElement* experiment : m_project->GetExperimentList())
        if (IDAQDataSet* set = AsDAQDataSet(experiment))
            set->AddFuncs(list);
    list.Clear(1);
    return 1;
}

// ---- closing ----

void CExpDoc::SetApplicationClosing(bool closing)
{
    g_applicationClosing = closing;
}

bool CExpDoc::IsApplicationClosing()
{
    return g_applicationClosing;
}

void CExpDoc::OnCloseDocument()
{
    if (g_applicationClosing || m_savedFlag != 0 || !m_project)
        return;
    std::vector<CExpInfo> infos;
    CMElementList experiments;
    for (CMElement* e : m_project->GetExperimentList()) {
        if (IDAQDataSet* set = AsDAQDataSet(e))
            set->SetUseFlag(1);
        IDaqExperimentData* data = AsDaqExperimentData(e);
        if (data && data->GetExpInfo())
            infos.push_back(*data->GetExpInfo());
        if (e->GetParent() && experiments.Index(e->GetParent()) < 0)
            experiments.Add(e->GetParent());
    }
    auto* daq = dynamic_cast<CDaqProject*>(m_project->GetDAQProject());
    if (AfxMessageBox(IDS_CARRY_ON, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        IDAQSystemDocument* next = GetTALVOApp().OpenDAQSystemView(0);
        std::vector<CExpInfo*> list;
        for (CExpInfo& info : infos)
            list.push_back(&info);
        if (next && daq && daq->OpenDAQSystemDoc(next, list))
            if (auto* doc = dynamic_cast<CExpDoc*>(next))
                doc->ConfigureRunManager();
        return;
    }
    CDlgExpDataComp dialog(m_frame);
    dialog.SetOwnerID(daq);
    dialog.SetDataList(experiments);
    dialog.DoModal();
}
