#include "app/TALVOApp.h"

#include "acquisition/DAQIO.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "app/ProjectTreeWindow.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "common/ModuleInfo.h"
#include "experiments/SensorProject.h"
#include "platform/archive/Archive.h"
#include "platform/automation/PLOVAWrapper.h"
#include "platform/base/Format.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/ModelData.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/QtTranslations.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/ZuOTDpFunc.h"
#include "spectral/ZuOTMultiVecFunc.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuRpmFunc.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <algorithm>

namespace {
const char* const kRecentFileSection = "Recent File List";
} // namespace

CTALVOApp::CTALVOApp() = default;
CTALVOApp::~CTALVOApp()
{
    FinishPlovaVersionCheck();
}

CTALVOApp& GetTALVOApp()
{
    static CTALVOApp app;
    return app;
}

bool CTALVOApp::ChooseLanguage(CFeedback* feedback)
{
    return SetLanguage(GetLanguageOption(), feedback);
}

bool CTALVOApp::SetLanguage(uint32_t language, CFeedback* feedback)
{
    // Only two tables exist. Any value but Japanese means English, 0 included: a stored 0 must not
    // leave the program without strings.
    const uint32_t table = language == LANG_JAPANESE ? LANG_JAPANESE : LANG_ENGLISH;
    if (table == m_language && GetLoadedLanguage() == table) {
        if (language != table)
            SetLanguageOption(table); // a stored value that names no table is put right
        return true;
    }
    std::string error;
    if (!LoadLanguageStrings(table, &error)) {
        feedback->Error("Failed to load the resource dll.");
        return false;
    }
    m_language = table;
    // Qt's own buttons and file choosers speak the same language as ours.
    InstallQtTranslations(table);
    // 8-bit texts of files written under a language follow its code page.
    CArchive::SetDefaultCodePage(table == LANG_JAPANESE ? LegacyCodePage::CP932 : LegacyCodePage::Windows1252);
    SendToMainWindow(WM_ZU_LANGUAGE_CHANGED);
    SetLanguageOption(table);
    return true;
}

bool CTALVOApp::InitLanguageAndName(CFeedback* feedback)
{
    if (!ChooseLanguage(feedback))
        return false;
    std::string title;
    m_appName = LoadString(IDS_APP_TITLE, title) ? title : GetAppTitle();
    CZuRegOptions::SetRegistryKey(kRegistryKey);
    CZuRegOptions::SetAppName(m_appName);
    return true;
}

void CTALVOApp::RegisterDocTemplates()
{
    m_templates.clear();
    // The documents of the program itself; the result windows bring their own templates.
    const std::pair<uint32_t, const char*> table[] = {
        {IDR_TALVOTYPE, "CTALVODoc"},   {IDR_3DMODEL, "C3DModelDoc"}, {IDR_3DMODEL2, "C3DModelDoc2"},
        {IDR_SENSORTYPE, "CSensorDoc"}, {IDR_EXPTYPE, "CExpDoc"},
    };
    for (const auto& [id, cls] : table) {
        auto& t = m_templates.emplace_back(std::make_unique<CZuMultiDocTemplate>(id, cls));
        if (auto it = m_templateWindows.find(id); it != m_templateWindows.end()) {
            t->SetOpener(it->second.first);
            t->SetWindowFinder(it->second.second);
        }
    }
    for (const CResultWindow& window : m_resultWindows) {
        auto& t =
            m_templates.emplace_back(std::make_unique<CZuMultiDocTemplate>(window.templateId, window.documentClass));
        t->SetOpener(window.open);
        t->SetWindowFinder(window.isOpen);
    }
}

void CTALVOApp::AddResultWindow(CResultWindow window)
{
    if (!m_templates.empty()) {
        CZuMultiDocTemplate* t = TemplateWithId(window.templateId);
        if (!t)
            t = m_templates.emplace_back(std::make_unique<CZuMultiDocTemplate>(window.templateId, window.documentClass))
                    .get();
        t->SetOpener(window.open);
        t->SetWindowFinder(window.isOpen);
    }
    for (CResultWindow& each : m_resultWindows)
        if (each.templateId == window.templateId) {
            each = std::move(window);
            return;
        }
    m_resultWindows.push_back(std::move(window));
}

void CTALVOApp::SetTemplateWindows(uint32_t resourceId, CZuMultiDocTemplate::Opener opener,
                                   CZuMultiDocTemplate::WindowFinder finder)
{
    for (const auto& t : m_templates)
        if (t->GetResourceId() == resourceId) {
            t->SetOpener(opener);
            t->SetWindowFinder(finder);
        }
    if (opener || finder)
        m_templateWindows[resourceId] = {std::move(opener), std::move(finder)};
    else
        m_templateWindows.erase(resourceId);
}

CZuMultiDocTemplate* CTALVOApp::TemplateWithId(uint32_t resourceId) const
{
    for (const auto& t : m_templates)
        if (t->GetResourceId() == resourceId)
            return t.get();
    return nullptr;
}

CZuMultiDocTemplate* CTALVOApp::GetTemplate(int i) const
{
    return (i >= 0 && i < GetTemplateCount()) ? m_templates[static_cast<size_t>(i)].get() : nullptr;
}

CZuMultiDocTemplate* CTALVOApp::FindTemplate(const std::string& name) const
{
    for (const auto& t : m_templates)
        if (t->GetDocString(CZuMultiDocTemplate::docName) == name)
            return t.get();
    return nullptr;
}

bool CTALVOApp::OpenElementFrame(const std::string& viewName, CMElement* element) const
{
    CZuMultiDocTemplate* t = FindTemplate(viewName);
    return element && t && t->Open(element);
}

bool CTALVOApp::OpenOrActivateElementFrame(const std::string& viewName, CMElement* element) const
{
    CZuMultiDocTemplate* t = FindTemplate(viewName);
    if (t && t->HasWindowFor(element)) {
        t->Open(element); // the family's opener brings the element's window forward
        return false;
    }
    return OpenElementFrame(viewName, element);
}

bool CTALVOApp::OpenTALDataView(CMElement* element, int) const
{
    CZuMultiDocTemplate* t = FindTemplate("TalDataView");
    return DynamicDowncast<CZuRpmFunc>(element) && t && t->Open(element);
}

bool CTALVOApp::OpenExpDataView(CTALVOExp* experiment, CFeedback* feedback) const
{
    if (!experiment || !m_expSubsystemChooser)
        return false;
    std::string picked = experiment->GetFirstSubsystem();
    if (!m_expSubsystemChooser(*experiment, picked) || picked.empty())
        return false;
    // The pick carries its wave sign; data sets file their maps under the subsystem's own name
    // unless a map of the signed name exists.
    const std::string subsystems[2] = {experiment->GetFirstSubsystem(), experiment->GetSecondSubsystem()};
    int index = -1;
    for (int i = 0; i < 2; ++i) {
        const std::string& s = subsystems[i];
        if (!s.empty() && picked.rfind(s, 0) == 0 && (index < 0 || s.size() > subsystems[index].size()))
            index = i;
    }
    if (index < 0)
        return false;
    auto hasMap = [experiment](const std::string& name) {
        for (int i = 0; i < experiment->GetChildCount(); ++i)
            if (auto* set = DynamicDowncast<CDAQExperiment>(experiment->GetChild(i)))
                if (set->FindRpmFuncByName(name))
                    return true;
        return false;
    };
    const std::string name = hasMap(picked) ? picked : subsystems[index];
    // A subsystem without maps is told to the user by the averaging.
    CMElement* map = experiment->AverageRpmFuncs(name, 1, nullptr, feedback);
    return map && OpenTALDataView(map, index);
}

namespace {

// Order result functions have no window: their text dump goes to a file the user names. A failure
// is reported to the feedback.
void DumpToFile(IDataWriter& writer, const std::string& path, CFeedback* feedback)
{
    CStdioFile file;
    std::string error;
    if (!file.Open(path, CStdioFile::modeWrite, &error)) {
        feedback->Error(error);
        return;
    }
    try {
        writer.WriteDump(file, std::string());
        file.Close();
    } catch (const std::exception& e) {
        file.Abort();
        feedback->Error(e.what());
    }
}

// Data sets made from universal files have no measurement file: their data are their subsystem's
// spectra over RPM. A data set gives its own map, an experiment the map of each of its data sets;
// nothing for other elements.
std::vector<CZuRpmFunc*> UniversalFileMaps(CMElement* element)
{
    std::vector<CDAQExperiment*> sets;
    CMElement* experiment = nullptr;
    if (auto* set = DynamicDowncast<CDAQExperiment>(element)) {
        sets.push_back(set);
        experiment = set->GetParent();
    } else if (DynamicDowncast<CTALVOExp>(element)) {
        experiment = element;
        for (int i = 0; i < element->GetChildCount(); ++i)
            if (auto* child = DynamicDowncast<CDAQExperiment>(element->GetChild(i)))
                sets.push_back(child);
    }
    auto* daq = experiment ? DynamicDowncast<CDaqProject>(experiment->GetParent()) : nullptr;
    std::vector<CZuRpmFunc*> maps;
    if (!daq || !daq->IsUFData())
        return maps;
    for (CDAQExperiment* set : sets)
        if (CZuRpmFunc* map = set->FindRpmFuncOfFirstName())
            maps.push_back(map);
    return maps;
}
} // namespace

bool CTALVOApp::OpenDataView(CMElement* element, CFeedback* feedback) const
{
    if (!element)
        return false;
    if (DynamicDowncast<CZuOTPcFunc>(element) || DynamicDowncast<CZuOTDpFunc>(element) ||
        DynamicDowncast<CZuOTMultiVecFunc>(element)) {
        auto* writer = dynamic_cast<IDataWriter*>(element);
        std::string path;
        if (writer && m_dumpFileChooser && m_dumpFileChooser(path))
            DumpToFile(*writer, path, feedback);
        return false;
    }
    if (const std::vector<CZuRpmFunc*> maps = UniversalFileMaps(element); !maps.empty()) {
        bool opened = false;
        for (CZuRpmFunc* map : maps)
            opened = OpenTALDataView(map, -1) || opened;
        return opened;
    }
    if (auto* experiment = DynamicDowncast<CTALVOExp>(element)) {
        // The measured data of every data set of the experiment, in one measurement window.
        auto* daq = DynamicDowncast<CDaqProject>(experiment->GetParent());
        CMElementList sets;
        for (int i = 0; i < experiment->GetChildCount(); ++i)
            if (DynamicDowncast<CDAQExperiment>(experiment->GetChild(i)))
                sets.Add(experiment->GetChild(i));
        const bool stored =
            daq && daq->IsUFData() == 0 && daq->OpenStoredData(sets, experiment->GetName(), feedback) != 0;
        // Beside it, the experiment's map of the subsystem the user picks.
        const bool map = OpenExpDataView(experiment, feedback);
        return stored || map;
    }
    if (auto* dataSet = DynamicDowncast<CDAQExperiment>(element)) {
        // A data set's measured data from its measurement file.
        auto* daq = dataSet->GetParent() ? DynamicDowncast<CDaqProject>(dataSet->GetParent()->GetParent()) : nullptr;
        return daq && daq->IsUFData() == 0 && daq->OpenRawData(CDAQIO::GetDaqFilePath(dataSet), feedback) != 0;
    }
    for (const CResultWindow& window : m_resultWindows)
        if (window.takes && window.takes(*element)) {
            CZuMultiDocTemplate* t = TemplateWithId(window.templateId);
            return t && t->Open(element);
        }
    return false;
}

bool CTALVOApp::OpenSensorView(CSensorProject* project) const
{
    CZuMultiDocTemplate* t = FindTemplate("SensorView");
    return project && t && t->Open(project);
}

bool CTALVOApp::OpenModelView(CModelData* model) const
{
    if (!model)
        return false;
    CZuMultiDocTemplate* t = FindTemplate(model->GetFileKind() == 1 ? "ModelView2" : "ModelView");
    return t && t->Open(model);
}

IDAQSystemDocument* CTALVOApp::OpenDAQSystemView(int checkUnsaved) const
{
    return m_daqSystemOpener ? m_daqSystemOpener(checkUnsaved) : nullptr;
}

CZuMultiDocTemplate* CTALVOApp::FindTemplateByStringId(uint32_t id) const
{
    std::string text;
    if (!LoadString(id, text))
        return nullptr;
    return FindTemplate(CZuMultiDocTemplate::ExtractField(text, 1));
}

CTALVOCommandLine CTALVOApp::ParseCommandLine(const std::vector<std::string>& args)
{
    CTALVOCommandLine cmd;
    for (const std::string& arg : args) {
        if (arg.size() > 1 && (arg[0] == '/' || arg[0] == '-')) {
            std::string flag = arg.substr(1);
            std::transform(flag.begin(), flag.end(), flag.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (flag == "embedding") {
                cmd.embedding = true;
                continue;
            }
            if (flag == "automation") {
                cmd.automation = true;
                continue;
            }
            // An absolute path starts with "/" too: only known flags are flags.
            if (arg[0] == '-')
                continue;
        }
        if (cmd.fileName.empty())
            cmd.fileName = arg;
    }
    return cmd;
}

std::vector<std::string> CTALVOApp::GetRecentFiles() const
{
    std::vector<std::string> files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string f = GetProfileString(kRecentFileSection, Format("File%d", i).c_str(), "");
        if (!f.empty())
            files.push_back(f);
    }
    return files;
}

void CTALVOApp::AddToRecentFileList(const std::string& path)
{
    if (path.empty())
        return;
    std::vector<std::string> files = GetRecentFiles();
    files.erase(std::remove(files.begin(), files.end(), path), files.end());
    files.insert(files.begin(), path);
    if (files.size() > static_cast<size_t>(kRecentFileCount))
        files.resize(kRecentFileCount);
    for (int i = 1; i <= kRecentFileCount; ++i)
        WriteProfileString(kRecentFileSection, Format("File%d", i).c_str(),
                           i <= static_cast<int>(files.size()) ? files[static_cast<size_t>(i - 1)] : std::string());
}

void CTALVOApp::RemoveFromRecentFileList(const std::string& path)
{
    std::vector<std::string> files = GetRecentFiles();
    files.erase(std::remove(files.begin(), files.end(), path), files.end());
    for (int i = 1; i <= kRecentFileCount; ++i)
        WriteProfileString(kRecentFileSection, Format("File%d", i).c_str(),
                           i <= static_cast<int>(files.size()) ? files[static_cast<size_t>(i - 1)] : std::string());
}

void CTALVOApp::SetMainDocument(CTALVODoc* doc)
{
    m_mainDocument = doc;
    // The main document's projects are shown in the project window from then on, those it
    // already had included.
    if (doc && m_treeWindow)
        doc->AddProjectsToViews();
}

int CTALVOApp::GetProjectCount() const
{
    return m_mainDocument ? m_mainDocument->GetTALVOProject().GetProjectCount() : 0;
}

int CTALVOApp::GetSelectedProjectIndex() const
{
    return m_treeWindow ? m_treeWindow->GetActiveIndex() : -1;
}

int CTALVOApp::GetSelectedElements(CMElementList& list) const
{
    list.Clear();
    if (m_treeWindow)
        m_treeWindow->GetSelection(list);
    return list.GetSize();
}

CBaseProject* CTALVOApp::GetProject(int index) const
{
    if (!m_mainDocument)
        return nullptr;
    if (index == -1)
        index = GetSelectedProjectIndex();
    return m_mainDocument->GetTALVOProject().GetProject(index);
}

void CTALVOApp::ExitInstance()
{
    FinishPlovaVersionCheck();
    m_templates.clear();
    SetMainDocument(nullptr);
    m_treeWindow = nullptr;
}

// ---- the automation object ----

void CTALVOApp::HoldAutomationObject(std::shared_ptr<void> object, std::function<void()> revoke)
{
    // A new object replaces the one held, which goes the usual way first.
    ReleaseAutomationObject();
    m_automationObject = std::move(object);
    m_revokeAutomationObject = std::move(revoke);
}

void CTALVOApp::ReleaseAutomationObject()
{
    if (!m_automationObject)
        return;
    // Taken out first, so that nothing the release sets off finds the object still held.
    std::shared_ptr<void> object = std::move(m_automationObject);
    std::function<void()> revoke = std::move(m_revokeAutomationObject);
    m_automationObject.reset();
    m_revokeAutomationObject = nullptr;
    if (revoke)
        revoke();
    object.reset();
}

// ---- the sibling application PLOVA ----

namespace {
// The version PLOVA reports, started or attached to over the session bus; empty when it is not
// reached. Works on any thread.
std::string ReadPlovaVersion()
{
    CPLOVAWrapper plova;
    std::string version;
    try {
        if (plova.Create())
            version = plova.Version();
    } catch (const std::exception&) {
        version.clear(); // an unreachable sibling is no error at start-up
    }
    plova.ReleaseAll();
    return version;
}

// Warns when the version names a build below the required one; an unknown build is no error.
void WarnIfPlovaTooOld(const std::string& version, CFeedback* feedback)
{
    int major = 0, minor = 0, release = 0, build = 0, required = 0;
    ParseVersionText(version.c_str(), &major, &minor, &release, &build);
    ParseVersionText(CTALVOApp::kRequiredPlovaVersion, &major, &minor, &release, &required);
    if (build >= 1 && build < required)
        feedback->Warning(FormatString(IDS_PLOVA_TOO_OLD, version.c_str(), CTALVOApp::kRequiredPlovaVersion),
                          IDS_PLOVA_TOO_OLD);
}
} // namespace

bool CTALVOApp::CheckPlovaVersion(CFeedback* feedback)
{
    std::string version;
    {
        CWaitCursor wait;
        version = ReadPlovaVersion();
    }
    WarnIfPlovaTooOld(version, feedback);
    return true;
}

void CTALVOApp::CheckPlovaVersionInBackground(CFeedback* feedback)
{
    FinishPlovaVersionCheck();
    m_versionCheck = std::thread([feedback] {
        const std::string version = ReadPlovaVersion();
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [version, feedback] { WarnIfPlovaTooOld(version, feedback); }, Qt::QueuedConnection);
    });
}

void CTALVOApp::FinishPlovaVersionCheck()
{
    if (m_versionCheck.joinable())
        m_versionCheck.join();
}

CPLOVAWrapper* CTALVOApp::RunPlovaDataChecker(const std::string& file, CFeedback* feedback)
{
    CWaitCursor wait;
    if (!m_dataChecker)
        m_dataChecker = std::make_unique<CPLOVAWrapper>();
    try {
        if (!m_dataChecker->Create()) {
            feedback->Error("Failed to run PLOVA.");
            return nullptr;
        }
        if (!file.empty() && !m_dataChecker->OpenDatabaseFile(file)) {
            feedback->Error(Format("Failed to open the file of PLOVA!\n%s", file.c_str()));
            return nullptr;
        }
    } catch (const std::exception& e) {
        feedback->Error(Format("Failed to run PLOVA.\n%s", e.what()));
        return nullptr;
    }
    return m_dataChecker.get();
}

void CTALVOApp::ReleasePlovaDataChecker()
{
    if (m_dataChecker)
        m_dataChecker->ReleaseAll();
}
