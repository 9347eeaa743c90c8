#include "experiments/ui/SensorDoc.h"

#include <ctime>

#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "app/VerRes.h"
#include "experiments/SensorListFile.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/SensorCommands.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuStdData.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"

namespace {
// The catalogue's own file: the sample's and every export are ".dat".
const char* const kSensorListFilter = "Sensor List Files (*.dat)|*.dat|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

CSensorDoc* g_sensorDoc = nullptr;
CSensorDoc::MeasuredDataSaver g_saver;
} // namespace

CSensorDoc::CSensorDoc(CSensorProject* project, CTALVODoc* projectDoc, QObject* parent)
    : QObject(parent), m_project(project), m_projectDoc(projectDoc)
{
    g_sensorDoc = this;
}

CSensorDoc::~CSensorDoc()
{
    if (g_sensorDoc == this)
        g_sensorDoc = nullptr;
}

CSensorDoc* CSensorDoc::GetSensorDoc()
{
    return g_sensorDoc;
}

std::string CSensorDoc::GetTitle() const
{
    return m_project ? m_project->GetName() : std::string("Sensor Project");
}

void CSensorDoc::SetMeasuredDataSaver(MeasuredDataSaver saver)
{
    g_saver = std::move(saver);
}

bool CSensorDoc::HasMeasuredDataSaver()
{
    return static_cast<bool>(g_saver);
}

const CSensorDoc::CommandTable& CSensorDoc::Commands()
{
    static const CommandTable table = [] {
        CommandTable t;
        auto add = [&t](int id, CommandTable::Entry::EnableRule enabled, bool (CSensorDoc::*action)()) {
            CommandTable::Entry e;
            e.id = id;
            e.enabled = std::move(enabled);
            // The command ran, whatever the user then chose in its dialogs.
            e.run = [action](CSensorDoc& doc, const CSensorDoc&) {
                (doc.*action)();
                return true;
            };
            t.Add(std::move(e));
        };
        auto hasProject = [](const CSensorDoc& doc) { return doc.m_project != nullptr; };
        add(ID_SENSOR_IMPORT, hasProject, &CSensorDoc::OnImport);
        add(ID_SENSOR_EXPORT, hasProject, &CSensorDoc::DoFileSave);
        add(
            ID_SENSOR_PUSH, [](const CSensorDoc& doc) { return doc.m_project && doc.m_projectDoc && g_saver; },
            &CSensorDoc::OnPushToMeasuredData);
        return t;
    }();
    return table;
}

bool CSensorDoc::IsCommandEnabled(int id) const
{
    return Commands().IsEnabled(id, *this);
}

bool CSensorDoc::OnCommand(int id)
{
    return Commands().Run(id, *this, *this);
}

bool CSensorDoc::OnImport()
{
    if (!m_project || AfxMessageBox(IDS_IMPORT_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    FileChooserOptions options;
    options.title = "Import Sensor List";
    options.defaultExt = "dat";
    options.filter = kSensorListFilter;
    std::string path;
    if (!PromptOpenFile(options, path))
        return false;
    std::string title = LoadString(IDS_NO_TITLE);
    // The reader fills the catalogue only from a file it read whole.
    if (!ReadSensorListFile(*m_project, path, title, &*CStatusBarFallback(nullptr))) {
        AfxMessageBox(Format("The sensor list %s could not be read. The sensor list was not changed.", path.c_str()),
                      MB_ICONEXCLAMATION);
        UpdateAllViews();
        return false;
    }
    RecordImportTitle(title);
    SetModified();
    return true;
}

bool CSensorDoc::DoFileSave()
{
    if (!m_project)
        return false;
    FileChooserOptions options;
    options.title = "Export Sensor List";
    options.defaultExt = "dat";
    options.filter = kSensorListFilter;
    options.initialName = GetTitle();
    options.overwritePrompt = true;
    std::string path;
    if (!PromptSaveFile(options, path))
        return false;
    char when[64] = {};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(when, sizeof when, "%m/%d/%Y %H:%M", &local);
    const std::string title = Format("%s %s [Sensor Info.]", when, GetAppVersionText().c_str());
    if (!WriteSensorListFile(*m_project, path, title)) {
        AfxMessageBox(Format("The sensor list could not be written to %s.", path.c_str()), MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CSensorDoc::OnPushToMeasuredData()
{
    if (!m_projectDoc || !g_saver || AfxMessageBox(IDS_PUSH_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    CMElementList projects;
    m_projectDoc->GetTALVOProject().GetDaqProjects(projects);
    CWaitCursor wait;
    CStatusBarFeedback progress;
    progress.Begin("Updating sensor properties for experimenal data...", projects.GetSize());
    bool ok = true;
    std::string error;
    for (CMElement* element : projects) {
        progress.Step();
        auto* daq = DynamicDowncast<CDaqProject>(element);
        if (!daq || daq->GetType() != 0)
            continue;
        CMElementList channels;
        daq->Find(ElementType::MeasuredDataSet, channels);
        const std::vector<CMElement*> list(channels.begin(), channels.end());
        if (!g_saver(*daq, list, error)) {
            ok = false;
            break;
        }
    }
    progress.End();
    // A failure is reported as such, never with the completion message.
    if (!ok)
        AfxMessageBox(error.empty() ? std::string("The sensor properties could not be copied into the measured data.")
                                    : error,
                      MB_ICONEXCLAMATION);
    else
        AfxMessageBox(IDS_PUSH_DONE);
    return ok;
}

void CSensorDoc::RecordImportTitle(const std::string& title)
{
    if (m_projectDoc)
        m_projectDoc->GetTALVOProject().GetFileProperties().Add(
            std::make_unique<CZuStdStringData>(kFilePropSensorTitle, title));
}

void CSensorDoc::SetModified(CSensor* hint, int code)
{
    if (m_projectDoc)
        m_projectDoc->SetModifiedFlag();
    UpdateAllViews(hint, code);
}

void CSensorDoc::UpdateAllViews(CSensor* hint, int code)
{
    emit Updated(hint, code);
}
