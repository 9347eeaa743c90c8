#include "app/TALVODoc.h"

#include "app/AnalysisProject.h"
#include "app/AnalysisProjectExchange.h"
#include "app/BaseProject.h"
#include "app/DaqProject.h"
#include "app/ModelDataText.h"
#include "app/ModelProject.h"
#include "app/ProjectHistory.h"
#include "app/ProjectTreeWindow.h"
#include "app/TALVOApp.h"
#include "common/ModuleInfo.h"
#include "common/WorkFolder.h"
#include "experiments/CalcOptions.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/RPMOptions.h"
#include "models/HSEAOptions.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/archive/Archive.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/Feedback.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuStdData.h"
#include "platform/win/StringTable.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
// The only model data the ".dmd" command takes in.
constexpr int kInputPowerDataType = ElementType::InputPowerData;

int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// File name without folder and extension.
std::string StemOf(const std::string& path)
{
    return fs::path(path).stem().string();
}

// Creation and modification time of a file in seconds since 1970; false when it cannot be read.
bool FileTimes(const std::string& path, int64_t& created, int64_t& modified)
{
    struct stat st
    {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    modified = static_cast<int64_t>(st.st_mtime);
    // The file systems we run on keep no creation time that the standard library reads; the
    // modification time is the closest we have.
    created = modified;
    return true;
}
} // namespace

CTALVODoc::CTALVODoc()
{
    m_project.SetSite(this);
    InitHistory(std::string());
    SetPathName(std::string());
}

CTALVODoc::~CTALVODoc()
{
    CTALVOApp& app = GetTALVOApp();
    if (app.GetMainDocument() == this)
        app.SetMainDocument(nullptr);
    // Whoever shows or exposes the document lets go of it.
    NotifyObjectGoing(this);
}

void CTALVODoc::SetModifiedFlag(int modified)
{
    const bool changed = (m_modified != 0) != (modified != 0);
    m_modified = modified;
    if (changed && m_modifiedListener)
        m_modifiedListener();
}

void CTALVODoc::SetPathName(const std::string& path)
{
    m_pathName = path;
    m_project.SetDocumentPath(path);
    m_title = path.empty() ? std::string("Untitled") : fs::path(path).filename().string();
}

std::string CTALVODoc::GetProductVersionText()
{
    return CModuleInfo().GetProductVersionText();
}

std::string CTALVODoc::GetFileVersionText()
{
    return CModuleInfo().GetFileVersionText();
}

void CTALVODoc::InitHistory(const std::string& path)
{
    m_history = std::make_unique<CProjectHistory>(GetTALVOApp().GetAppName(), kHistoryAppORVEX);
    m_history->SetAppVersion(GetProductVersionText());
    int64_t created = 0, modified = 0;
    if (!path.empty() && FileTimes(path, created, modified)) {
        m_history->SetPathName(path);
        m_history->SetCreationTime(created);
        m_history->SetModifiedTime(modified);
    } else {
        m_history->SetCreationTime(Now());
        m_history->SetModifiedTime(Now());
    }
}

void CTALVODoc::UpdateHistoryForStore(const std::string& path)
{
    const std::string current = StemOf(m_pathName);
    if (!m_pathName.empty() && current != StemOf(path)) {
        // Saved under a new name: the new file gets a record of its own, made from the old one.
        auto record = std::make_unique<CProjectHistory>(GetTALVOApp().GetAppName(), kHistoryAppORVEX);
        record->SetAppVersion(GetProductVersionText());
        record->SetPathName(path);
        record->SetCreationTime(Now());
        record->SetModifiedTime(Now());
        record->AddChild(std::unique_ptr<CMElement>(m_history.release()));
        m_history = std::move(record);
    } else {
        m_history->SetAppVersion(GetProductVersionText());
        m_history->SetPathName(path);
        m_history->SetModifiedTime(Now());
    }
    BoundHistoryDepth(*m_history);
}

void CTALVODoc::BoundHistoryDepth(CMElement& history)
{
    // Each save under a new name nests the history one level deeper, and every level is one more
    // object nesting in the file, which readers bound. The oldest records beyond the bound go, so
    // a project can be saved under new names without end and always opens again.
    std::vector<std::pair<CMElement*, int>> stack{{&history, 1}};
    while (!stack.empty()) {
        auto [element, depth] = stack.back();
        stack.pop_back();
        if (depth >= kMaxHistoryDepth) {
            element->RemoveAll();
            continue;
        }
        for (int i = 0; i < element->GetChildCount(); ++i)
            stack.emplace_back(element->GetChild(i), depth + 1);
    }
}

void CTALVODoc::RefreshFileProperties()
{
    const CModuleInfo module;
    m_fileProperties.SetString(kFilePropAppName, GetTALVOApp().GetAppName());
    m_fileProperties.SetString(kFilePropModuleName, module.GetFileName());
    m_fileProperties.SetLong(kFilePropModuleTime, static_cast<int64_t>(module.GetFileTime()));
    m_fileProperties.SetString(kFilePropFileVersion, module.GetFileVersionText());
    m_fileProperties.SetString(kFilePropProductVersion, module.GetProductVersionText());
}

void CTALVODoc::Serialize(CArchive& ar)
{
    // One display for the whole read or write: a range begun here is ended however it ends; a
    // range the caller had begun stays the caller's.
    CFeedback* const progress = m_progress;
    struct SProgressOfProject
    {
        CTALVOProject& project;
        CFeedback* progress;
        bool idle;
        ~SProgressOfProject()
        {
            project.SetFeedback(SilentFeedback());
            if (idle && progress->IsActive())
                progress->End();
        }
    } given{m_project, progress, !progress->IsActive()};
    m_project.SetFeedback(progress);
    // What the projects' own objects report while they are read goes to the same feedback, unless
    // the reader of the file gave the archive its own.
    if (ar.IsLoading() && !ar.GetFeedback())
        ar.SetFeedback(progress);
    ar.m_pDocument = this;
    m_project.Serialize(ar);
    if (ar.IsStoring()) {
        RefreshFileProperties();
        m_fileProperties.Serialize(ar);
        UpdateHistoryForStore(ar.GetFileName());
        ar.WriteObject(m_history.get());
        return;
    }
    m_fileProperties.DeleteAll();
    m_fileProperties.Serialize(ar);
    m_history.reset();
    if (m_fileProperties.GetData(kFilePropFileVersion)) {
        m_history = ar.ReadOwned<CProjectHistory>();
        if (m_history)
            m_history->SetPathName(ar.GetFileName());
    }
    if (!m_history) {
        // Files of older versions carry no history: start one for the file as it is.
        InitHistory(ar.GetFileName());
        m_history->SetAppName(std::string());
        m_history->SetType(kHistoryAppUnknown);
    }
}

void CTALVODoc::DeleteContents()
{
    m_project.DeleteContents();
    m_fileProperties.DeleteAll();
    InitHistory(std::string());
    SetModifiedFlag(0);
}

bool CTALVODoc::OnOpenDocument(const std::string& path, std::string* error, CFeedback* feedback)
{
    // Whatever way the read ends, the progress it showed goes.
    struct EndFeedback
    {
        CFeedback* feedback;
        ~EndFeedback()
        {
            if (feedback && feedback->IsActive())
                feedback->End();
        }
    } endFeedback{feedback};
    if (!ReadDocumentFile(path, error, feedback))
        return false;
    ShowReadDocument();
    return true;
}

bool CTALVODoc::ReadDocumentFile(const std::string& path, std::string* error, CFeedback* feedback)
{
    // The archive's feedback while the file is read: the bytes read move the caller's feedback
    // (when given), and what the objects read report goes where the document's reports go.
    class CReadFeedback final : public CFeedback
    {
    public:
        CReadFeedback(CFeedback* bytes, CFeedback* reports) : m_bytes(bytes), m_reports(reports) {}

    protected:
        void OnProgress(int level) override
        {
            if (m_bytes)
                m_bytes->SetPos(Ranges()[static_cast<size_t>(level)].done);
        }
        void OnReport(const SReport& report) override
        {
            m_reports->Report(report.severity, report.text, report.stringId);
        }

    private:
        CFeedback* m_bytes;
        CFeedback* m_reports;
    };
    DeleteContents();
    try {
        // The project window is built whole once the file is read.
        CMElement::CSilentTree silent;
        CReadFeedback reading(feedback, m_progress);
        CArchive ar(path, CArchive::load);
        reading.Begin(std::string(), static_cast<int64_t>(ar.BytesRemaining()));
        if (feedback)
            feedback->Begin(Format("Reading [%s]...", std::filesystem::path(path).filename().string().c_str()),
                            static_cast<int64_t>(ar.BytesRemaining()));
        ar.SetFeedback(&reading);
        Serialize(ar);
        // Nothing follows the history: bytes after it are a file run into another, or damage.
        ar.ExpectEnd("project history");
        if (feedback)
            feedback->SetPos(static_cast<int64_t>(ar.Position()));
    } catch (const CNotProjectFileException& e) {
        if (error)
            *error = Format("%s\n\n%s", path.c_str(), e.what());
        DeleteContents();
        return false;
    } catch (const std::exception& e) {
        if (error)
            *error = Format("The project file %s could not be read: %s", path.c_str(), e.what());
        DeleteContents();
        return false;
    }
    SetPathName(path);
    SetModifiedFlag(0);
    // A save of this file that was killed part way left its temporary file behind.
    CAtomicFile::RemoveStaleTemporaries(path);
    return true;
}

void CTALVODoc::ShowReadDocument()
{
    CWaitCursor wait;
    AddProjectsToViews();
    GetTALVOApp().SetMainDocument(this);
    if (IProjectTreeWindow* tree = GetTALVOApp().GetProjectTreeWindow())
        tree->RefreshItems();
    EnsureWorkFolder(m_pathName);
}

bool CTALVODoc::OnSaveDocument(const std::string& path, std::string* error)
{
    EnsureWorkFolder(path);
    // Storing updates the history for the new file; a file that was never written must leave no
    // trace in it (no record of a save under another name, no path of a file that does not exist).
    CProjectHistory* const previous = m_history.get();
    const std::string previousVersion = previous->GetAppVersion();
    const std::string previousPath = previous->GetPathName();
    const int64_t previousModified = previous->GetModifiedTime();
    try {
        CArchive ar(path, CArchive::store);
        Serialize(ar);
        ar.Close();
    } catch (const std::exception& e) {
        if (m_history.get() != previous)
            m_history.reset(static_cast<CProjectHistory*>(m_history->ReleaseChild(previous).release()));
        m_history->SetAppVersion(previousVersion);
        m_history->SetPathName(previousPath);
        m_history->SetModifiedTime(previousModified);
        if (error)
            *error = Format("The project file %s could not be written: %s", path.c_str(), e.what());
        return false;
    }
    SetPathName(path);
    SetModifiedFlag(0);
    return true;
}

void CTALVODoc::OnCloseDocument()
{
    CWaitCursor wait;
    // The trees go first: they must never show elements that are gone.
    if (IProjectTreeWindow* tree = GetTALVOApp().GetProjectTreeWindow())
        tree->RemoveAllTrees();
    m_project.DeleteAllProjects();
    if (GetTALVOApp().GetMainDocument() == this)
        GetTALVOApp().SetMainDocument(nullptr);
}

namespace {
// A new project numbers its data elements from the start, whatever the session made before: the
// count belongs to the model project, which stores it and takes it back when it is read.
void RestartDataNumbering()
{
    CZuData::SetCreationCount(0);
}
} // namespace

bool CTALVODoc::NewProjectFromModelFile(const std::string& projectFile, int modelKind, const std::string& modelFile,
                                        std::string* error, CFeedback* feedback)
{
    GetTALVOApp().SetMainDocument(this);
    RestartDataNumbering();
    CBaseProject* model = m_project.CreateModelProjectFromFile(modelKind, modelFile, feedback);
    if (!model && error)
        *error = Format("No model could be made from %s.", modelFile.c_str());
    return StartWithModel(model, projectFile, error);
}

bool CTALVODoc::NewProjectInteractive(const std::string& projectFile, std::string* error, CFeedback* feedback)
{
    GetTALVOApp().SetMainDocument(this);
    RestartDataNumbering();
    return StartWithModel(m_project.CreateModelProject(feedback), projectFile, error);
}

bool CTALVODoc::NewProjectWithModel(const std::string& projectFile, const std::function<CBaseProject*()>& makeModel,
                                    std::string* error)
{
    GetTALVOApp().SetMainDocument(this);
    RestartDataNumbering();
    return StartWithModel(makeModel ? makeModel() : nullptr, projectFile, error);
}

// A new project stands once its model exists and it is saved under its name; anything less leaves
// no document behind.
bool CTALVODoc::StartWithModel(CBaseProject* model, const std::string& projectFile, std::string* error)
{
    if (!model) {
        GetTALVOApp().SetMainDocument(nullptr);
        return false;
    }
    AddProjectToViews(model);
    if (!OnSaveDocument(projectFile, error)) {
        OnCloseDocument();
        return false;
    }
    return true;
}

std::string CTALVODoc::GetTabLabel(const CBaseProject* project) const
{
    if (!project)
        return std::string();
    for (int i = 0; i < m_project.GetProjectCount(); ++i) {
        const CBaseProject* other = m_project.GetProject(i);
        if (other == project)
            break;
        if (other->GetName() == project->GetName())
            return Format("%s (ID %d)", project->GetName().c_str(), project->GetID());
    }
    return project->GetName();
}

void CTALVODoc::AddProjectToViews(CBaseProject* project)
{
    IProjectTreeWindow* tree = GetTALVOApp().GetProjectTreeWindow();
    if (!project || !tree)
        return;
    // The trees follow the container's order, as the commands find a project's tree at the
    // project's index: a project's tree goes after the trees of the projects before it, once.
    const int index = m_project.GetProjectIndex(project);
    int at = index < 0 ? tree->GetTreeCount() : 0;
    for (int i = 0; i < tree->GetTreeCount(); ++i) {
        CMElement* shown = tree->GetTreeProject(i);
        if (shown == project)
            return;
        const int shownIndex = m_project.GetProjectIndex(DynamicDowncast<CBaseProject>(shown));
        if (index >= 0 && shownIndex >= 0 && shownIndex < index)
            at = i + 1;
    }
    tree->InsertTree(at, project, GetTabLabel(project));
}

void CTALVODoc::AddProjectsToViews()
{
    for (int i = 0; i < m_project.GetProjectCount(); ++i)
        AddProjectToViews(m_project.GetProject(i));
}

CDaqProject* CTALVODoc::NewDaqProject()
{
    CDaqProject* daq = m_project.AddDaqProject();
    AddProjectToViews(daq);
    return daq;
}

CAnalysisProject* CTALVODoc::AddRpmAnalysisProject(const CRPMOptions* rpm, CDaqProject* daq,
                                                   const COctaveManagerEx* bands)
{
    CAnalysisProject* project = m_project.AddAnalysisProject(rpm, bands);
    if (!project)
        return nullptr;
    AddProjectToViews(project);
    project->SetProjectType(0);
    if (daq)
        project->SetDaqProjectID(daq->GetID());
    project->BuildFreqIndexArray();
    return project;
}

CAnalysisProject* CTALVODoc::AddOrderAnalysisProject(CDaqProject* daq, const CRPMOptions* rpm, const COrderList* orders,
                                                     float otSetting)
{
    if (!daq)
        return nullptr;
    CAnalysisProject* project = m_project.AddAnalysisProject(rpm, nullptr);
    if (!project)
        return nullptr;
    AddProjectToViews(project);
    project->SetProjectType(1);
    project->SetDaqProjectID(daq->GetID());
    if (orders)
        project->SetOrderList(*orders);
    project->BuildFreqIndexArray();
    project->SetOTSetting(otSetting);
    return project;
}

CAnalysisProject* CTALVODoc::AddOrderAnalysisProjectFromDaq(CDaqProject* daq)
{
    if (!daq)
        return nullptr;
    const CCalcOptions* options = daq->GetCalcOptions();
    const COrderList& orders = options->GetOrderList();
    // Without a first order there is no RPM that a band belongs to.
    if (orders.GetCount() < 1 || !(orders[0] > 0.0))
        return nullptr;
    CRPMOptions rpm;
    rpm.SetMode(CRPMOptions::modeList);
    std::vector<float>& list = *rpm.GetRpmList();
    if (const COctaveManagerEx* bands = daq->GetOctaveManager())
        for (int i = 0; i < bands->GetFreqCount(); ++i)
            list.push_back(static_cast<float>(bands->GetFreq(i) * 60.0 / orders[0]));
    return AddOrderAnalysisProject(daq, &rpm, &orders, options->GetOrderBandWidth());
}

CBaseProject* CTALVODoc::AddModelVariant(CFeedback* feedback)
{
    CModelProject* project = m_project.AddModelProject(feedback);
    if (!project)
        return nullptr;
    AddProjectToViews(project);
    SetModifiedFlag(1);
    GetTALVOApp().OpenModelView(project->GetModelData(0));
    return project;
}

int CTALVODoc::GetProjectIndex(CBaseProject* project) const
{
    return m_project.GetProjectIndex(project);
}

int CTALVODoc::RemoveProject(CBaseProject* project)
{
    const int index = m_project.GetProjectIndex(project);
    if (index < 0)
        return index;
    // The tree goes while its elements still exist: the window looks at its selection on the way.
    if (IProjectTreeWindow* tree = GetTALVOApp().GetProjectTreeWindow())
        tree->RemoveTree(index);
    m_project.RemoveProjectAt(index);
    SetModifiedFlag(1);
    return index;
}

bool CTALVODoc::RemoveProjectAt(int index, CFeedback* feedback)
{
    if (index == 0) {
        feedback->Warning(MessageTextOf(IDS_CANNOT_REMOVE_MODEL), IDS_CANNOT_REMOVE_MODEL);
        return false;
    }
    if (index < 0 || index >= m_project.GetProjectCount())
        return false;
    if (IProjectTreeWindow* tree = GetTALVOApp().GetProjectTreeWindow())
        tree->RemoveTree(index);
    m_project.RemoveProjectAt(index);
    SetModifiedFlag(1);
    return true;
}

CZuData* CTALVODoc::ReadModelDataFile(const std::string& path, CFeedback* feedback)
{
    CModelProject* model = m_project.GetModelProject();
    if (!model)
        return nullptr;
    // Data of another kind come and go again: the project is as it was, and so is its flag.
    const int wasModified = IsModified() ? 1 : 0;
    CZuData* data = ReadModelDataText(model, path, 0, feedback);
    if (!data) {
        SetModifiedFlag(wasModified);
        return nullptr; // the reader has said why
    }
    if (data->GetType() != kInputPowerDataType) {
        model->DeleteChild(data);
        SetModifiedFlag(wasModified);
        feedback->Warning(MessageTextOf(IDS_NOT_HSEA_MODEL_DATA), IDS_NOT_HSEA_MODEL_DATA);
        return nullptr;
    }
    SetModifiedFlag(1);
    return data;
}

bool CTALVODoc::CanExportHSEAModelText() const
{
    CModelProject* model = m_project.GetModelProject();
    return model && model->GetHSEAModelData();
}

int CTALVODoc::ExportHSEAModelText(const std::string& path, CFeedback* feedback)
{
    return ::ExportHSEAModelText(m_project, path, feedback);
}

bool CTALVODoc::CanExportAnalysisProject() const
{
    return DynamicDowncast<CAnalysisProject>(GetTALVOApp().GetProject(-1)) != nullptr;
}

int CTALVODoc::ExportAnalysisProjectFile(const std::string& path, CFeedback* feedback)
{
    auto* project = DynamicDowncast<CAnalysisProject>(GetTALVOApp().GetProject(-1));
    if (!project)
        return 0;
    try {
        ExportAnalysisProject(*project, path);
        return 1;
    } catch (const std::exception& e) {
        feedback->Error(e.what());
        return 0;
    }
}

CAnalysisProject* CTALVODoc::ImportAnalysisProjectFile(const std::string& path, CFeedback* feedback)
{
    try {
        CAnalysisProject* project = ImportAnalysisProject(m_project, path, feedback);
        AddProjectToViews(project);
        // The imported analysis lives only in memory until the document is saved.
        SetModifiedFlag();
        return project;
    } catch (const std::exception& e) {
        feedback->Error(e.what());
        return nullptr;
    }
}

void CTALVODoc::OnElementAdded(int projectIndex, CMElement* element)
{
    IProjectTreeWindow* tree = GetTALVOApp().GetProjectTreeWindow();
    if (tree && GetTALVOApp().GetMainDocument() == this && tree->AddElement(projectIndex, element))
        SetModifiedFlag(1);
}

void CTALVODoc::OnElementRemoved(int projectIndex, CMElement* element)
{
    IProjectTreeWindow* tree = GetTALVOApp().GetProjectTreeWindow();
    if (tree && GetTALVOApp().GetMainDocument() == this && tree->RemoveElement(projectIndex, element))
        SetModifiedFlag(1);
}

void CTALVODoc::OnElementRenamed(int projectIndex, CMElement* element)
{
    IProjectTreeWindow* tree = GetTALVOApp().GetProjectTreeWindow();
    if (tree && GetTALVOApp().GetMainDocument() == this && tree->RenameElement(projectIndex, element))
        SetModifiedFlag(1);
}

std::string CTALVODoc::GetWorkFolderOf(const std::string& path)
{
    if (path.empty())
        return std::string();
    return WorkFolderOf(DocumentFolderOf(path));
}

std::string CTALVODoc::EnsureWorkFolder(const std::string& path)
{
    const std::string folder = GetWorkFolderOf(path);
    if (folder.empty())
        return folder;
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}
