#include "app/TALVOProject.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <ctime>

#include "acquisition/BlixChDB.h"
#include "acquisition/BlixChIO.h"
#include "experiments/DAQConfig.h"
#include "app/AnalysisProject.h"
#include "calculation/InputPowerFolder.h"
#include "app/BaseProject.h"
#include "app/DaqProject.h"
#include "app/ModelDataText.h"
#include "app/ModelProject.h"
#include "app/VerRes.h"
#include "common/ModuleInfo.h"
#include "experiments/SensorProject.h"
#include "models/HSEAOptions.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelData.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/ZuRegOptions.h"

IMPLEMENT_SERIAL(CTALVOProject, CObject, 0)

namespace {

// A report of a string-table message, with its id, so the window shows the box it always showed.
void Report(CFeedback& feedback, CFeedback::ESeverity severity, uint32_t id)
{
    feedback.Report(severity, MessageTextOf(id), id);
}

// The program file's modification time as the file information line shows it; empty when unknown.
std::string ModuleFileTimeText(std::time_t time)
{
    if (time == 0)
        return {};
    std::tm tm{};
    localtime_r(&time, &tm);
    char text[64];
    std::strftime(text, sizeof text, "%m/%d/%Y(%H:%M:%S)", &tm);
    return text;
}

// Reads an owned object that must be there; a null record keeps a fresh default.
template <class T>
std::unique_ptr<T> ReadRequired(CArchive& ar)
{
    auto object = ar.ReadOwned<T>();
    return object ? std::move(object) : std::make_unique<T>();
}
} // namespace

CTALVOProject::CTALVOProject() : m_hseaOptions(std::make_unique<CHSEAOptions>())
{
    DeleteContents();
}

void CTALVOProject::DeleteContents()
{
    DeleteAllProjects();
    m_targetSubsystem.clear();
    m_sourceSubsystems.Clear();
    // The options keep their address: GetHSEAOptions() hands out references to them.
    *m_hseaOptions = CHSEAOptions();
    m_nextID = 0;
    m_pid = CPID();
    m_sensorProject = std::make_unique<CSensorProject>();
    m_sensorProject->SetProjectLookups(this);
    m_daqConfig = std::make_unique<CDAQConfig>();
    m_blixChDB = std::make_unique<CBlixChDB>();
    m_systemChannelCount = kDefaultChannelCount;
    m_fileProperties.DeleteAll();
    // The plans point at the unit groups: new plans first, then the groups they look at.
    m_sensorMapList = std::make_unique<CQMXSensorMapList>();
    m_blixLists.RemoveAll();
    m_blixLists.Add(std::make_unique<CQMXBlixList>());
    m_sensorMapList->SetUnitGroups(m_blixLists.Pointers());
    m_sensorAssignment = std::make_unique<CSensorAssignment>();
}

CTALVOProject::~CTALVOProject()
{
    DeleteAllProjects();
}

// ---------------------------------------------------------------------------------------------
// project list

CBaseProject* CTALVOProject::GetProject(int i) const
{
    return i >= 0 && i < GetProjectCount() ? m_projects[i].get() : nullptr;
}

int CTALVOProject::GetProjectIndex(const CBaseProject* project) const
{
    for (size_t i = 0; i < m_projects.size(); ++i)
        if (m_projects[i].get() == project)
            return static_cast<int>(i);
    return -1;
}

CBaseProject* CTALVOProject::FindProjectByID(int id) const
{
    if (id < 0)
        return nullptr;
    for (const auto& p : m_projects)
        if (p->GetID() == id)
            return p.get();
    return nullptr;
}

CModelProject* CTALVOProject::GetModelProject() const
{
    return m_projects.empty() ? nullptr : DynamicDowncast<CModelProject>(m_projects.front().get());
}

CDaqProject* CTALVOProject::GetDaqProject(int n) const
{
    for (const auto& p : m_projects)
        if (auto* daq = DynamicDowncast<CDaqProject>(p.get()))
            if (n-- == 0)
                return daq;
    return nullptr;
}

int CTALVOProject::GetDaqProjects(CMElementList& list) const
{
    for (const auto& p : m_projects)
        if (p->IsKindOf(RUNTIME_CLASS(CDaqProject)))
            list.Add(p.get());
    return list.GetSize();
}

int CTALVOProject::GetAnalysisProjects(CMElementList& list) const
{
    for (const auto& p : m_projects)
        if (p->IsKindOf(RUNTIME_CLASS(CAnalysisProject)))
            list.Add(p.get());
    return list.GetSize();
}

void CTALVOProject::DeleteAllProjects()
{
    // Projects look at the container (and at each other) while they go; empty the list last.
    while (!m_projects.empty())
        m_projects.pop_back();
}

int CTALVOProject::RemoveProjectAt(int i)
{
    if (i < 0 || i >= GetProjectCount())
        return -1;
    auto doomed = std::move(m_projects[i]);
    m_projects.erase(m_projects.begin() + i);
    doomed.reset();
    return i;
}

int CTALVOProject::RemoveProject(CBaseProject* project)
{
    const int i = project ? GetProjectIndex(project) : -1;
    return i < 0 ? -1 : RemoveProjectAt(i);
}

CBaseProject* CTALVOProject::AppendProject(std::unique_ptr<CBaseProject> project)
{
    project->SetOwner(this);
    m_projects.push_back(std::move(project));
    return m_projects.back().get();
}

// ---------------------------------------------------------------------------------------------
// model shortcuts

CZuSubsystemTable* CTALVOProject::GetModelSubsystemTable() const
{
    CModelProject* model = GetModelProject();
    return model ? &model->GetSubsystemTable() : nullptr;
}

CZuData* CTALVOProject::GetModelShell() const
{
    CModelProject* model = GetModelProject();
    return model ? model->GetModelShell(0) : nullptr;
}

CModelData* CTALVOProject::GetModelData() const
{
    CModelProject* model = GetModelProject();
    return model ? model->GetModelData(0) : nullptr;
}

COctaveManagerEx* CTALVOProject::GetOctaveManager() const
{
    CZuData* shell = GetModelShell();
    return shell ? shell->GetOctaveManager() : nullptr;
}

int CTALVOProject::IsStructure(const std::string& name) const
{
    CModelProject* model = GetModelProject();
    return model ? model->IsStructure(name) : 0;
}

int CTALVOProject::IsAcoustic(const std::string& name) const
{
    CModelProject* model = GetModelProject();
    return model ? model->IsAcoustic(name) : 0;
}

int CTALVOProject::GetSubsystemType(std::string& name, int addSuffix) const
{
    CModelProject* model = GetModelProject();
    return model ? model->GetSubsystemType(name, addSuffix) : -1;
}

int CTALVOProject::IsInputSubsystem(const std::string& name) const
{
    return m_sourceSubsystems.GetIndex(name) >= 0 ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// creation and import

CModelProject* CTALVOProject::CreateModelProject(CFeedback* feedback)
{
    CFeedback& reports = *feedback;
    auto created = std::make_unique<CModelProject>("Model");
    created->SetID(m_nextID);
    DeleteAllProjects();
    auto* project = static_cast<CModelProject*>(AppendProject(std::move(created)));
    CASEAModelData* data = project->ShowModelInformation(nullptr, &reports);
    if (!data) {
        Report(reports, CFeedback::ESeverity::Error, IDS_MODEL_NOT_CREATED);
        RemoveProjectAt(0);
        return nullptr;
    }
    GetHSEAOptions().SetSymmetricCopy(project->IsSymmetricModel());
    UpdateSensorAssignment();
    if (!ImportModelFileDialog(project, &reports)) {
        RemoveProjectAt(0);
        return nullptr;
    }
    ++m_nextID;
    return project;
}

CModelProject* CTALVOProject::CreateModelProjectFromFile(int kind, const std::string& path, CFeedback* feedback)
{
    return CreateModelProjectFromFiles(CModelProject::ModelFileOfKind(kind, path), path, feedback);
}

CModelProject* CTALVOProject::CreateModelProjectFromFiles(const std::string& modelFile, const std::string& path,
                                                          CFeedback* feedback)
{
    CFeedback& reports = *feedback;
    auto created = std::make_unique<CModelProject>("Model");
    created->SetID(m_nextID);
    DeleteAllProjects();
    auto* project = static_cast<CModelProject*>(AppendProject(std::move(created)));
    project->SetModelFile(modelFile);
    if (!project->CreateASEAModelData(CModelProject::ModelKindOfFile(modelFile), &reports)) {
        Report(reports, CFeedback::ESeverity::Error, IDS_MODEL_NOT_CREATED);
        RemoveProjectAt(0);
        return nullptr;
    }
    GetHSEAOptions().SetSymmetricCopy(project->IsSymmetricModel());
    UpdateSensorAssignment();
    if (!path.empty() && !ImportModelFile(project, path, &reports)) {
        RemoveProjectAt(0);
        return nullptr;
    }
    ++m_nextID;
    return project;
}

CModelProject* CTALVOProject::AddModelProject(CFeedback* feedback)
{
    CModelProject* model = GetModelProject();
    if (!model)
        return nullptr;
    CFeedback& reports = *feedback;
    CASEAModelData* existing = model->GetASEAModelData();
    if (!existing)
        Report(reports, CFeedback::ESeverity::Warning, IDS_NO_MODEL);
    auto project = std::make_unique<CModelProject>(Format("Model #%1d", m_nextID));
    project->SetOwner(this);
    project->SetID(m_nextID);
    CASEAModelData* data = project->ShowModelInformation(existing, &reports);
    if (!data)
        return nullptr;
    CZuData* shell = project->GetModelShell(0);
    if (shell)
        shell->SetName(Format("Analytical SEA Model #%1d", m_nextID));
    if (!shell || !CheckModelCompatibility(shell, 0, &reports))
        return nullptr;
    ++m_nextID;
    return static_cast<CModelProject*>(AppendProject(std::move(project)));
}

CDaqProject* CTALVOProject::AddDaqProject()
{
    auto project = std::make_unique<CDaqProject>(Format("DAQ%d", m_nextID));
    project->SetID(m_nextID);
    project->SetMaxChannel(m_systemChannelCount);
    ++m_nextID;
    return static_cast<CDaqProject*>(AppendProject(std::move(project)));
}

CAnalysisProject* CTALVOProject::AddAnalysisProject(const CRPMOptions* rpm, const COctaveManagerEx* bands)
{
    auto project = std::make_unique<CAnalysisProject>(Format("Analysis%d", m_nextID));
    project->SetID(m_nextID);
    ++m_nextID;
    auto* added = static_cast<CAnalysisProject*>(AppendProject(std::move(project)));
    if (bands) {
        const COctaveManagerEx* active = GetOctaveManager();
        auto own = active ? std::make_unique<COctaveManagerEx>(*active) : std::make_unique<COctaveManagerEx>();
        *own = *bands;
        added->SetOctaveManager(std::move(own));
    }
    if (rpm)
        added->SetRPMOptions(*rpm);
    return added;
}

CAnalysisProject* CTALVOProject::AddImportedAnalysisProject(std::unique_ptr<CAnalysisProject> project)
{
    if (!project)
        return nullptr;
    project->SetID(m_nextID);
    ++m_nextID;
    return static_cast<CAnalysisProject*>(AppendProject(std::move(project)));
}

CDaqProject* CTALVOProject::AddExtDaqProject(std::unique_ptr<CDaqProject> project, CDaqProject** templateProject)
{
    if (!project)
        return nullptr;
    if (templateProject) {
        *templateProject = nullptr;
        for (const auto& p : m_projects)
            if (auto* daq = DynamicDowncast<CDaqProject>(p.get()); daq && daq->IsUFData())
                *templateProject = daq;
    }
    project->SetName(Format("DAQ%d", m_nextID));
    project->SetID(m_nextID);
    project->SetMaxChannel(m_systemChannelCount);
    project->GetDAQConfig()->Copy(*m_daqConfig);
    if (const COctaveManagerEx* bands = GetOctaveManager(); bands && bands->GetFreqCount() > 0)
        project->GetDAQConfig()->SetMaxFreq(static_cast<float>(bands->GetUpperFreq(bands->GetFreqCount() - 1)));
    ++m_nextID;
    return static_cast<CDaqProject*>(AppendProject(std::move(project)));
}

namespace {
CTALVOProject::ModelDataFileAsker& ModelDataFileAskerSlot()
{
    static CTALVOProject::ModelDataFileAsker asker;
    return asker;
}
} // namespace

void CTALVOProject::SetModelDataFileAsker(ModelDataFileAsker asker)
{
    ModelDataFileAskerSlot() = std::move(asker);
}

int CTALVOProject::ImportModelFileDialog(CModelProject* project, CFeedback* feedback)
{
    const ModelDataFileAsker& asker = ModelDataFileAskerSlot();
    if (!asker)
        return 0;
    // A file that does not read is reported, and the user is asked again.
    for (;;) {
        std::string path;
        if (!asker(path) || path.empty())
            return 0;
        if (ImportModelFile(project, path, feedback))
            return 1;
    }
}

int CTALVOProject::ImportModelFile(CModelProject* project, const std::string& path, CFeedback* feedback)
{
    if (!project)
        return 0;
    CWaitCursor wait;
    // The file is read once; the data and each section take their own pass over its text.
    std::string why;
    std::shared_ptr<const std::string> text = CStdioFile::ReadAll(path, &why);
    if (!text) {
        // The data reader names the file and the reason.
        ReadModelDataText(project, path, 0, feedback);
        return 0;
    }
    return ImportModelText(project, path, std::move(text), feedback);
}

int CTALVOProject::ImportModelText(CModelProject* project, const std::string& path,
                                   std::shared_ptr<const std::string> text, CFeedback* feedback)
{
    if (!project)
        return 0;
    CZuData* data = ReadModelDataFromText(project, path, text, feedback);
    if (!data)
        return 0;
    if (!CheckModelCompatibility(data, 1, feedback)) {
        project->DeleteChild(data);
        return 0;
    }
    ReadSourceSubsystems(text);
    project->ReadTargetEnergyRatios(text, path, feedback);
    project->ReadTransmissionClfs(std::move(text), path, feedback);
    return 1;
}

void CTALVOProject::ReadSourceSubsystems(const std::string& path)
{
    ReadSourceSubsystems(CStdioFile::ReadAll(path));
}

void CTALVOProject::ReadSourceSubsystems(const std::shared_ptr<const std::string>& text)
{
    CModelProject* model = GetModelProject();
    if (!model || !model->GetModelData(0))
        return;
    m_sourceSubsystems.Clear();
    if (!text)
        return;
    CStdioFile file;
    file.OpenShared(text, std::string());
    std::string line;
    while (file.ReadString(line)) {
        if (line.compare(0, 6, "[Src]\t") != 0)
            continue;
        const std::string name = line.substr(6);
        if (model->GetSubsystem(name, 0, 1))
            m_sourceSubsystems.Add(name);
    }
}

int CTALVOProject::CheckModelCompatibility(CZuData* newData, int checkCouplings, CFeedback* feedback)
{
    // Data that do not fit are refused with a warning; the model stays as it was.
    const auto refuse = [feedback](uint32_t id) {
        Report(*feedback, CFeedback::ESeverity::Warning, id);
        return 0;
    };
    CZuData* model = GetModelShell();
    if (!newData || !model)
        return refuse(IDS_NO_MODEL);
    if (model->GetFreqCount() != newData->GetFreqCount() || model->GetStartFreq() != newData->GetStartFreq() ||
        model->GetEndFreq() != newData->GetEndFreq())
        return refuse(IDS_MODEL_BANDS_DIFFER);
    CZuMatFunc* eta = model->GetEtaMatrix(0);
    CZuMatFunc* newEta = newData == model ? eta : newData->GetEtaMatrix(0);
    // Data without a loss-factor matrix (input powers, for one) have nothing more to compare.
    if (!eta || !newEta)
        return 1;
    if (eta->GetSubsystemCount() != newEta->GetSubsystemCount())
        return refuse(IDS_MODEL_BANDS_DIFFER);
    CZuVecFunc* density = newData->GetModalDensity(0);
    const int n = eta->GetSubsystemCount();
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const std::string a = eta->GetRowSubsystem(i);
            const std::string b = eta->GetColSubsystem(j);
            const int row = newEta->GetRowIndex(a);
            const int col = newEta->GetColIndex(b);
            if (row < 0 || col < 0)
                return refuse(IDS_MODEL_SUBSYSTEMS_DIFFER);
            if (!checkCouplings || eta->GetDataCount() == 0 || newEta->GetDataCount() == 0)
                continue;
            if (eta->DataValue(0, i, j) != 0.0)
                continue;
            // An uncoupled pair of the model must stay uncoupled: the new coupling, relative to the
            // modal density, must vanish. Without a density only a zero coupling fits.
            const double value = newEta->DataValue(0, row, col);
            const int k = density ? density->GetIndex(a) : -1;
            const double md = (k >= 0 && density->GetDataCount() > 0) ? density->DataValue(0, k) : 0.0;
            const bool fits = md != 0.0 ? std::fabs(value / md) < 1e-15 : value == 0.0;
            if (!fits)
                return refuse(IDS_MODEL_SUBSYSTEMS_DIFFER);
        }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// acquisition and model upkeep

int CTALVOProject::SetMaxChannel(int n)
{
    m_systemChannelCount = n;
    for (const auto& p : m_projects)
        if (auto* daq = DynamicDowncast<CDaqProject>(p.get()))
            daq->SetMaxChannel(n);
    return GetProjectCount();
}

const CModelSubsystem* CTALVOProject::FindModelSubsystem(const std::string& name) const
{
    const CModelData* model = GetModelData();
    return model ? model->GetSubsystem(name, 0, 1) : nullptr;
}

std::string CTALVOProject::GetSubsystemDisplayName(const std::string& name) const
{
    const CModelProject* model = GetModelProject();
    return model ? model->GetSubsystemDisplayName(name) : name;
}

float CTALVOProject::GetSensorSensitivity(const std::string& id) const
{
    const CSensor* sensor = m_sensorProject ? m_sensorProject->FindSensor(id) : nullptr;
    return sensor ? sensor->GetChannelInfo().Sensitivity : 0.0f;
}

int CTALVOProject::AddToSensorAssignment(const std::string& rowName, const std::string& item)
{
    CSensorAssignment* assignment = m_sensorAssignment.get();
    const int row = assignment ? assignment->FindRow(rowName) : -1;
    if (row < 0)
        return -1;
    const int count = assignment->GetItemCount(row);
    assignment->SetItemCount(row, count + 1);
    assignment->SetItem(row, count, item);
    return row;
}

int CTALVOProject::ShowDataInDB() const
{
    return m_hseaOptions->HSS_ShowDataInDB != 0 ? 1 : 0;
}

int CTALVOProject::IsAWeighting() const
{
    return m_hseaOptions->WeightingFilter == 1 ? 1 : 0;
}

namespace {
// A channel file that failed: the error list goes beside it, and a warning says where, or that not
// even the list could be written.
void ReportBlixChannelFailure(const CBlixChIO& io, const std::string& path, CFeedback* feedback)
{
    const std::string reportPath = path + ".err.txt";
    if (io.WriteErrorReport(reportPath))
        feedback->Warning(FormatString(IDS_BLIX_REPORT_WRITTEN, reportPath.c_str()), IDS_BLIX_REPORT_WRITTEN);
    else
        feedback->Warning(FormatString(IDS_BLIX_FILE_FAILED, path.c_str()), IDS_BLIX_FILE_FAILED);
}
} // namespace

int CTALVOProject::ImportBlixChannelFile(const std::string& path, CFeedback* feedback)
{
    const CBlixChIO::CParams params(path, m_blixChDB.get(), GetModelSubsystemTable(), m_sensorProject.get());
    CBlixChIO io;
    io.SetParams(&params);
    io.SetFeedback(feedback);
    std::string title;
    if (io.Import(title))
        return 1;
    ReportBlixChannelFailure(io, path, feedback);
    return 0;
}

int CTALVOProject::ExportBlixChannelFile(const std::string& path, CFeedback* feedback)
{
    const CBlixChIO::CParams params(path, m_blixChDB.get(), GetModelSubsystemTable(), m_sensorProject.get());
    CBlixChIO io;
    io.SetParams(&params);
    io.SetFeedback(feedback);
    if (io.Export(std::string()))
        return 1;
    ReportBlixChannelFailure(io, path, feedback);
    return 0;
}

int CTALVOProject::ApplyModelUpdate(CFeedback* feedback)
{
    CModelProject* model = GetModelProject();
    return model ? model->ApplyModelUpdate(m_targetSubsystem, m_sourceSubsystems, feedback) : 0;
}

int CTALVOProject::RecalcInputPowers(int revise, std::string* failed, CFeedback* feedback)
{
    CMElementList analyses;
    if (GetAnalysisProjects(analyses) == 0)
        return 1;
    int result = 1;
    for (CMElement* element : analyses) {
        auto* analysis = static_cast<CAnalysisProject*>(element);
        // A project whose input energies were never calculated has no input powers to redo; it
        // is no failure.
        CZuSubsystemTable energies;
        if (analysis->GetInputEnergySubsystems(energies) == 0)
            continue;
        analysis->DeleteResults();
        if (CMElement* folder = analysis->GetInputPowerFolder()) {
            while (folder->GetChildCount() > 0) {
                CMElement* child = folder->GetChild(folder->GetChildCount() - 1);
                folder->DeleteChild(child);
            }
        }
        if (!analysis->CalcInputPower(nullptr, 1, revise, feedback)) {
            std::string text = FormatString(IDS_INPUT_POWER_FAILED, analysis->GetName().c_str());
            if (!analysis->GetFailureReason().empty())
                text += "\n\n" + analysis->GetFailureReason();
            feedback->Warning(text, IDS_INPUT_POWER_FAILED);
            if (failed)
                *failed += Format("The input powers of %s could not be recalculated.\n", analysis->GetName().c_str());
            result = 0;
        }
    }
    return result;
}

void CTALVOProject::UpdateSensorAssignment()
{
    // The assignment only gains rows here: an empty table (no model, or a model whose 3D data are
    // missing) would otherwise wipe the assignment stored in the file.
    const CZuSubsystemTable* table = GetModelSubsystemTable();
    if (table && table->GetCount() > 0)
        m_sensorAssignment->SetSubsystems(table);
}

// ---------------------------------------------------------------------------------------------
// the project file

void CTALVOProject::WriteHeader(CArchive& ar)
{
    ar << LoadString(IDS_PROJECT_HEADER);
}

void CTALVOProject::WriteFileInformation(CArchive& ar)
{
    const CModuleInfo module;
    CVerRes version;
    version.Read();
    ar << FormatString(IDS_PROGRAM_FILE, module.GetFilePath().c_str());
    ar << FormatString(IDS_FILE_TIME, ModuleFileTimeText(module.GetFileTime()).c_str());
    ar << FormatString(IDS_FILE_VERSION, version.GetVersionText().c_str());
    ar << FormatString(IDS_PRODUCT_VERSION, version.GetProductVersionText().c_str());
}

void CTALVOProject::ReadHeader(CArchive& ar)
{
    // Another kind of file is told apart from a project of another version: the user is told what
    // the file is not, rather than that it is too new.
    auto notAProjectFile = [] { throw CNotProjectFileException(LoadString(IDS_NOT_PROJECT_FILE)); };
    std::string header, text;
    try {
        ar >> header;
        for (int i = 0; i < 4; ++i)
            ar >> text; // program information: informative only
        ar >> text;
    } catch (const CArchiveException&) {
        notAProjectFile();
    }
    // Every project file begins with our header or names its identity after the program lines.
    if (text.compare(0, 4, "PID:") != 0 && header != LoadString(IDS_PROJECT_HEADER))
        notAProjectFile();
    m_pid.FromPIDText(text);
}

void CTALVOProject::Serialize(CArchive& ar)
{
    CFeedback* const progress = m_progress;
    // A range begun here is ended however the read or write ends; one the caller began is its own.
    struct SEndOwnRange
    {
        CFeedback* feedback;
        bool idle;
        ~SEndOwnRange()
        {
            if (idle && feedback->IsActive())
                feedback->End();
        }
    } ownRange{progress, !progress->IsActive()};
    if (ar.IsStoring()) {
        WriteHeader(ar);
        WriteFileInformation(ar);
        ar << m_pid.ToPIDText();
        ar << kFileVersion;
        ar.WriteObject(m_hseaOptions.get());
        ar << m_nextID;
        ar << static_cast<int32_t>(m_projects.size());
        int64_t steps = GetProjectCount();
        for (const auto& p : m_projects)
            steps += p->GetAllChildCount();
        const auto storing = [](const CBaseProject& p) { return Format("Storing [%s]...", p.GetName().c_str()); };
        progress->Begin(m_projects.empty() ? std::string() : storing(*m_projects.front()), steps);
        {
            // Each element written steps the range once; what follows the projects is not counted.
            CArchive::CFeedbackScope elementSteps(ar, &*progress);
            for (size_t i = 0; i < m_projects.size(); ++i) {
                if (i > 0)
                    progress->SetText(storing(*m_projects[i]));
                ar.WriteObject(m_projects[i].get());
            }
        }
        ar << m_targetSubsystem;
        ar.WriteObject(&m_sourceSubsystems);
        ar.WriteObject(m_sensorProject.get());
        ar.WriteObject(m_daqConfig.get());
        ar.WriteObject(m_blixChDB.get());
        ar << m_systemChannelCount;
        ar << static_cast<int32_t>(m_blixLists.GetSize());
        for (int i = 0; i < m_blixLists.GetSize(); ++i)
            ar.WriteObject(m_blixLists.GetAt(i));
        ar.WriteObject(m_sensorMapList.get());
        ar.WriteObject(m_sensorAssignment.get());
        m_fileProperties.Serialize(ar);
        return;
    }

    // A read that fails half-way would leave a mix of this file and the previous contents, with
    // the plans pointing at unit groups already replaced: it leaves a new container instead.
    DeleteContents();
    try {
        ReadBody(ar, *progress);
    } catch (...) {
        DeleteContents();
        throw;
    }
}

void CTALVOProject::ReadBody(CArchive& ar, CFeedback& progress)
{
    ReadHeader(ar);
    uint8_t version = 0;
    ar >> version;
    if (version < kOldestFileVersion) {
        Report(progress, CFeedback::ESeverity::Error, IDS_FILE_TOO_OLD);
        CArchive::ThrowBadSchema(Format("project file of version %d", version));
    }
    // A newer program's layout is unknown; reading it as ours would garble the project.
    if (version > kFileVersion) {
        Report(progress, CFeedback::ESeverity::Error, IDS_FILE_TOO_NEW);
        CArchive::ThrowBadSchema(Format("project file of version %d (newer than %d)", version, kFileVersion));
    }
    if (auto options = ar.ReadOwned<CHSEAOptions>())
        *m_hseaOptions = *options;
    ar >> m_nextID;
    const int32_t count = ar.ReadSignedCount(2, "projects in a project file");
    progress.Begin("Loading...", count);
    for (int32_t i = 0; i < count; ++i) {
        if (auto project = ar.ReadOwned<CBaseProject>())
            AppendProject(std::move(project));
        progress.Step();
    }
    // A damaged counter would hand out IDs the file already uses, and analyses and experiments
    // would then find the wrong DAQ project: the counter stays above every stored ID.
    m_nextID = std::max(m_nextID, 0);
    for (const auto& p : m_projects)
        if (p->GetID() >= m_nextID && p->GetID() < INT32_MAX)
            m_nextID = p->GetID() + 1;
    ar >> m_targetSubsystem;
    if (auto table = ar.ReadOwned<CZuSubsystemTable>())
        m_sourceSubsystems = *table;
    m_sensorProject = ReadRequired<CSensorProject>(ar);
    m_sensorProject->SetProjectLookups(this);
    m_daqConfig = ReadRequired<CDAQConfig>(ar);
    if (version >= 5) {
        m_blixChDB = ReadRequired<CBlixChDB>(ar);
        ar >> m_systemChannelCount;
    } else {
        CDaqProject* first = GetDaqProject(0);
        m_systemChannelCount = first ? first->GetMaxChannel() : kDefaultChannelCount;
    }
    if (version >= 8) {
        const int32_t lists = ar.ReadSignedCount(2, "unit groups in a project file");
        m_blixLists.RemoveAll();
        for (int32_t i = 0; i < lists; ++i)
            m_blixLists.Add(ReadRequired<CQMXBlixList>(ar));
    } else if (version == 7) {
        auto list = ReadRequired<CQMXBlixList>(ar);
        if (m_blixLists.GetSize() == 0)
            m_blixLists.Add(std::move(list));
        else
            m_blixLists.SetAt(0, std::move(list));
    }
    if (version >= 7) {
        m_sensorMapList = ReadRequired<CQMXSensorMapList>(ar);
        m_sensorAssignment = ReadRequired<CSensorAssignment>(ar);
    }
    m_sensorMapList->SetUnitGroups(m_blixLists.Pointers());
    if (version >= 6) {
        m_fileProperties.DeleteAll();
        m_fileProperties.Serialize(ar);
    }
    UpdateSensorAssignment();
}
