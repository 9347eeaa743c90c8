#include "uff/MkExtDaqProject.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <filesystem>
#include <ctime>
#include <map>
#include <new>
#include <system_error>

#include "acquisition/DAQCalculator.h"
#include "app/DAQExperiment.h"
#include "app/ProjectTreeWindow.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "common/ProjectLookups.h"
#include "common/SubsystemManager.h"
#include "experiments/CalcOptions.h"
#include "experiments/DAQConfig.h"
#include "experiments/SubsystemLPInfo.h"
#include "planning/DAQPPExpPlan.h"
#include "planning/SensorAssignment.h"
#include "platform/base/Feedback.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/gfx/BandSetCheck.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/StringIds.h"
#include "platform/win/ZuRegOptions.h"
#include "uff/DAQPPFreqData.h"
#include "uff/DAQPPUFData.h"
#include "uff/DAQPPRpmData.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/SplitUf.h"
#include "uff/UFDaqData.h"
#include "uff/UFExpInfo.h"
#include "uff/UFImportUI.h"
#include "uff/UFLineReader.h"
#include "uff/UFScanner.h"

namespace {
constexpr int kAbscFrequency = 18;
constexpr int kAbscRpm = 19;
constexpr const char* kNoRpm = "Failed to detect valid RPM values!";

// What a step with a range of its own reports, on the feedback of the whole import: the step's
// progress shows nothing there, so it cannot end the import's range.
class CReportsOnly : public CSilentFeedback
{
public:
    explicit CReportsOnly(CFeedback& whole) : m_whole(whole) {}

protected:
    void OnReport(const SReport& report) override { m_whole.Report(report.severity, report.text, report.stringId); }

private:
    CFeedback& m_whole;
};

std::string FileTitle(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A run named by the local time of its first dataset, as its ID line 3 gave it.
std::string RunTime(int timeKey)
{
    const time_t t = timeKey;
    std::tm tm{};
    char text[64];
    if (!localtime_r(&t, &tm) || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm))
        return Format("%d", timeKey);
    return text;
}

// The time keys within tolerance of key, as a range of ints.
std::pair<int, int> ToleranceWindow(int key, int tolerance)
{
    const long long lo = static_cast<long long>(key) - tolerance;
    const long long hi = static_cast<long long>(key) + tolerance;
    return {static_cast<int>(std::max<long long>(lo, INT_MIN)), static_cast<int>(std::min<long long>(hi, INT_MAX))};
}

// A dataset the import cannot take: the import stops with this text, before the project changes.
[[noreturn]] void Refuse(const CDAQPPUFIndex& index, const std::string& field, const std::string& why)
{
    throw CUFImportAbort(Format("%s, dataset 58 at byte %d: %s: %s.\nNothing was imported.",
                                index.GetFileTitle().c_str(), index.GetOffset(), field.c_str(), why.c_str()));
}
} // namespace

CMkExtDaqProject::CMkExtDaqProject(CTALVOProject& container, CExtUFDaqProject* project)
    : m_targetName(container.GetTargetSubsystem()), m_container(container), m_project(project)
{
    if (project) {
        m_coefficient = project->GetBandValue();
        m_structureOption = project->GetListSelection();
        m_doubling = project->GetOctaveCheck();
        m_bands = project->GetOctaveManager();
    }
    uint32_t tolerance = 0;
    if (ReadRegOptionById(IDS_OPT_RUN_TOLERANCE, tolerance) && tolerance < 86400u * 366u)
        m_tolerance = static_cast<int>(tolerance);
}

CMkExtDaqProject::~CMkExtDaqProject()
{
    Release();
}

void CMkExtDaqProject::CloseLater(std::unique_ptr<CUFLineReader> file)
{
    // Unmapping a large file takes a while: that goes on beside the import.
    if (!file || file->GetSize() < kCloseLaterSize)
        return;
    try {
        m_closing.emplace_back([f = std::move(file)]() mutable { f.reset(); });
    } catch (const std::system_error&) {
        // No thread to spare: the file was closed here.
    }
}

void CMkExtDaqProject::Release()
{
    for (std::thread& t : m_closing)
        t.join();
    m_closing.clear();
    m_groups.clear();
    m_runs.clear();
    m_runByKey.clear();
    m_groupsByName.clear();
    m_groupOrder.clear();
    m_checkedAxis.reset();
}

int CMkExtDaqProject::SelectDAQSystem()
{
    IUFImportUI* ui = GetUFImportUI();
    const int choice = ui ? ui->SelectDAQSystem() : -1;
    if (choice != 1)
        return choice < 0 ? -1 : 0;
    CDaqProject* templ = nullptr;
    auto* project =
        static_cast<CExtUFDaqProject*>(m_container.AddExtDaqProject(std::make_unique<CExtUFDaqProject>(), &templ));
    if (!project)
        return -1;
    if (auto* earlier = dynamic_cast<CExtUFDaqProject*>(templ))
        CopyProjectSetup(*earlier, *project);
    SaveNodeTable(*project);
    m_project = project;
    m_bands = project->GetOctaveManager();
    if (auto* doc = dynamic_cast<CTALVODoc*>(m_container.GetSite()))
        doc->AddProjectToViews(project);
    // The planning wizard opens on the selected project: the new one.
    if (IProjectTreeWindow* tree = GetTALVOApp().GetProjectTreeWindow())
        tree->SetActiveIndex(m_container.GetProjectIndex(project));
    SendToMainWindow(WM_COMMAND, kCmdPlanningMenu, 0);
    return 1;
}

void CMkExtDaqProject::CopyProjectSetup(CExtUFDaqProject& source, CExtUFDaqProject& destination)
{
    if (&source == &destination)
        return;
    if (const COctaveManagerEx* bands = source.GetOctaveManager())
        destination.SetOctaveManager(std::make_unique<COctaveManagerEx>(*bands));
    destination.GetDAQConfig()->Copy(*source.GetDAQConfig());
    *destination.GetCalcOptions() = *source.GetCalcOptions();
    for (const auto& entry : source.GetNodeMap().Nodes())
        destination.GetNodeMap().SetAt(entry.second);
    CDAQPPExpPlanList& from = source.GetExpPlans();
    CDAQPPExpPlanList& to = destination.GetExpPlans();
    for (int i = 0; i < from.GetPlanCount(); ++i) {
        const CDAQPPExpPlan* plan = from.GetPlan(i);
        if (CDAQPPExpPlan* copy = to.AddPlan(plan->GetChannelCount(), plan->GetName()))
            *copy = *plan;
    }
    to.GetColumns() = from.GetColumns();
    destination.SetPlanMaxChannel(source.GetPlanMaxChannel());
}

void CMkExtDaqProject::SaveNodeTable() const
{
    if (m_project)
        SaveNodeTable(*m_project);
}

void CMkExtDaqProject::SaveNodeTable(const CExtUFDaqProject& project)
{
    const CTALVOProject* owner = project.GetOwner();
    const std::string folder = owner ? FolderOf(owner->GetDocumentPath()) : std::string();
    if (folder.empty())
        return;
    try {
        const std::string path = folder + "/" + CUFNodeMap::kTableFileName;
        std::error_code ec;
        if (project.GetNodeMap().GetCount() == 0 && std::filesystem::exists(path, ec))
            return;
        project.GetNodeMap().WriteTextFile(path, project.GetName());
    } catch (...) {
        // The node table is a convenience copy of what the project holds; a failed write loses
        // nothing.
    }
}

std::string CMkExtDaqProject::FindNodeTable(const std::vector<std::string>& files)
{
    for (const std::string& file : files) {
        const std::string folder = FolderOf(file);
        const std::string path = (folder.empty() ? std::string(".") : folder) + "/" + CUFNodeMap::kTableFileName;
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec))
            return path;
    }
    return std::string();
}

bool CMkExtDaqProject::LoadNodeTable(const std::string& path, CUFNodeMap& map, std::string& why)
{
    CUFNodeMap read;
    try {
        std::string title;
        read.ReadTextFile(path, title);
    } catch (const std::exception& e) {
        why = *e.what() ? e.what() : "the file cannot be read";
        return false;
    }
    if (read.GetCount() == 0) {
        why = "the file names no node";
        return false;
    }
    map = read;
    return true;
}

int CMkExtDaqProject::LocalPointCount(const std::string& subsystem) const
{
    const CSensorAssignment* assignment = m_container.GetSensorAssignment();
    const int row = assignment ? assignment->FindRow(subsystem) : -1;
    if (const int assigned = row >= 0 ? assignment->GetItemCount(row) : 0; assigned > 0)
        return assigned;
    // Without sensors assigned to the subsystem its local points are those the node table names:
    // the data of a node table's points are not dropped for want of a sensor list.
    int points = 0;
    if (m_project)
        for (const auto& entry : m_project->GetNodeMap().Nodes())
            if (entry.second.m_strSSName == subsystem && entry.second.m_nLP >= 0)
                points = std::max(points, entry.second.m_nLP + 1);
    return points;
}

int CMkExtDaqProject::ImportUFData(CFeedback* feedback)
{
    IUFImportUI* ui = GetUFImportUI();
    if (!m_project || !ui)
        return 0;
    try {
        return Import(*ui, *feedback);
    } catch (const std::bad_alloc&) {
        // Whichever window started the import, running out of memory ends it here with a message
        // instead of ending the program.
        ui->CloseProgress();
        Release();
        feedback->Warning("There is not enough memory to import these universal files.");
        return 0;
    }
}

int CMkExtDaqProject::Import(IUFImportUI& ui, CFeedback& messages)
{
    m_subsystems = CZuSubsystemTable();
    m_shortNames = CZuSubsystemTable();
    if (const CZuSubsystemTable* model = m_container.GetModelSubsystemTable())
        m_subsystems = *model;
    if (!m_targetName.empty())
        m_subsystems.AddUnique(m_targetName);
    m_notes.clear();
    // Every experiment pairs a measured subsystem with the target: without one nothing could be
    // filed, so the user is told before choosing files.
    if (m_targetName.empty()) {
        messages.Warning(MessageTextOf(IDS_NO_TARGET_SUBSYSTEM), IDS_NO_TARGET_SUBSYSTEM);
        return 0;
    }
    if (!ImportDialogStep(ui, messages))
        return 0;

    // Every run's set-up, and the band sets it makes, are checked before anything of the project
    // changes: a run without usable RPM values, or bands the project could not be opened with
    // again, leave the project as it was.
    bool lineBandsMade = false;
    for (auto& run : m_runs) {
        std::string why;
        if (!CheckRunSetup(*run, why)) {
            messages.Warning(why.empty() ? std::string(kNoRpm) : why);
            Release();
            return 0;
        }
        std::string source;
        const std::unique_ptr<COctaveManagerEx> bands = PlanBands(*run, lineBandsMade, source);
        if (!bands)
            continue;
        lineBandsMade = lineBandsMade || m_rpmMode != kModeOrder;
        if (std::string fault = CBandSetCheck::Storable(*bands); !fault.empty()) {
            messages.Warning(Format("The frequency bands made from %s cannot be stored in a project: %s.\nNothing "
                                    "was imported.",
                                    source.c_str(), fault.c_str()));
            Release();
            return 0;
        }
    }
    RemoveEarlierExperiments();

    CFeedback* progress = ui.ShowProgress();
    progress->Begin("Importing Exp Data...", static_cast<int64_t>(m_runs.size()));
    for (auto& run : m_runs) {
        ApplyRunSetup(*run);
        progress->BeginPart(1);
        TargetDataStep(*run, *progress);
        progress->EndPart();
    }
    progress->End();
    ui.CloseProgress();
    SaveNodeTable();
    Release();
    int sets = 0;
    for (int e = 0; e < m_project->GetChildCount(); ++e)
        for (int i = 0; i < m_project->GetChild(e)->GetChildCount(); ++i)
            sets += ElementCast<CDAQExperiment>(m_project->GetChild(e)->GetChild(i)) != nullptr;
    if (sets == 0) {
        // Not "Finished." over an empty project: what kept each subsystem out is the message.
        if (m_notes.empty())
            m_notes.push_back(Format("%s is the target: its data are filed with the data sets of the other "
                                     "subsystems, and no other subsystem was measured.",
                                     m_targetName.c_str()));
        std::string why;
        for (const std::string& note : m_notes)
            why += "\n" + note;
        messages.Warning(FormatString(IDS_UF_NOTHING_TO_IMPORT, why.c_str()), IDS_UF_NOTHING_TO_IMPORT);
        return 0;
    }
    std::string text = MessageTextOf(IDS_FINISHED);
    for (const std::string& note : m_notes)
        text += "\n" + note;
    messages.Information(text, IDS_FINISHED);
    return 1;
}

int CMkExtDaqProject::ImportDialogStep(IUFImportUI& ui, CFeedback& messages)
{
    for (;;) {
        Release();
        m_notes.clear();
        m_tally = Tally();
        CUFImportSettings settings;
        settings.files = &m_project->GetSourceFiles();
        settings.nodeMap = &m_project->GetNodeMap();
        settings.modelBands = m_container.GetOctaveManager();
        settings.bands = m_bands;
        settings.calcOptions = m_project->GetCalcOptions();
        settings.choice = m_rpmMode == kModeFixed ? 0 : (m_rpmMode == kModeOrder ? 2 : 1);
        settings.fixedRpm = m_rpmStart;
        settings.orderText = Format("%.2f", m_order);
        settings.structureOption = m_structureOption;
        settings.namesFromDataset = m_namesFromDataset;
        settings.subsystems = &m_subsystems;
        settings.shortNames = &m_shortNames;
        settings.snap = m_snap;
        settings.coefficient = m_coefficient;
        settings.doubling = m_doubling;
        settings.coefficientSwitch = m_coefficientSwitch;
        if (!ui.RunImportDialog(settings))
            return 0;
        switch (settings.choice) {
        case 0:
            m_rpmMode = kModeFixed;
            m_rpmStart = settings.fixedRpm;
            break;
        case 2:
            m_rpmMode = kModeOrder;
            m_order = std::atof(settings.orderText.c_str());
            break;
        default:
            m_rpmMode = kModeFromData;
            break;
        }
        m_snap = settings.snap;
        m_namesFromDataset = settings.namesFromDataset;
        m_coefficient = settings.coefficient;
        m_coefficientSwitch = settings.coefficientSwitch;
        m_structureOption = settings.structureOption;
        m_doubling = settings.doubling;

        CFeedback* progress = ui.ShowProgress();
        progress->Begin("Importing Universal Files", 0);
        try {
            const int result = FileStep(ui, *progress);
            ui.CloseProgress();
            if (!result) {
                Release();
                messages.Warning(MessageTextOf(IDS_OPERATION_FAILED), IDS_OPERATION_FAILED);
            }
            return result;
        } catch (const CUFImportAbort&) {
            // Told already; back to the import dialog.
            ui.CloseProgress();
        }
    }
}

int CMkExtDaqProject::FileStep(IUFImportUI& ui, CFeedback& progress)
{
    progress.SetText("Splitting huge universal files...");
    std::vector<std::string>& list = m_project->GetSourceFiles();
    const std::vector<std::string> chosen = list;
    list.clear();
    CReportsOnly splitReports(progress);
    for (const std::string& file : chosen) {
        CSplitUf split(file, &splitReports);
        if (split.GetParts().empty())
            list.push_back(file);
        else
            list.insert(list.end(), split.GetParts().begin(), split.GetParts().end());
    }

    // Experiments know their universal file by its name alone: a second file of the same name
    // from another folder would land on the first one's experiments, so it is left out and told.
    std::map<std::string, std::string> byTitle;
    std::vector<std::string> files;
    for (const std::string& file : list) {
        const std::string title = FileTitle(file);
        auto it = byTitle.find(title);
        if (it == byTitle.end()) {
            byTitle.emplace(title, file);
            files.push_back(file);
        } else if (it->second != file) {
            m_notes.push_back(Format("%s was not imported: a file of the same name (%s) is imported already.",
                                     file.c_str(), it->second.c_str()));
        }
    }
    m_importedFiles = files;

    progress.Begin(std::string(), static_cast<int64_t>(files.size()));
    int binary = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        progress.SetText(Format("Scanning in [%s]...", FileTitle(files[i]).c_str()));
        // Each file is a part of the bar; leaving the loop body in any way closes it.
        progress.BeginPart(1);
        struct PartEnd
        {
            CFeedback& feedback;
            ~PartEnd() { feedback.EndPart(); }
        } partEnd{progress};
        // Mapped page by page as the scan reaches it: the scan searches a large file on every
        // core, which then share the faulting in too.
        auto file = std::make_unique<CUFLineReader>();
        if (!file->Open(files[i])) {
            m_notes.push_back(Format("%s could not be opened.", files[i].c_str()));
            continue;
        }
        progress.Begin(std::string(), static_cast<int64_t>(file->GetSize()));
        CUFScanner scan;
        scan.feedback = &progress;
        // Spectra (auto and cross) and order functions are imported; other function types are
        // passed over.
        scan.dataset = [&](std::unique_ptr<CDAQPPUFIndex>& index, CUFLineReader& reader) {
            const int type = index->GetFuncType();
            ++m_tally.datasets;
            ++m_tally.functionTypes[type];
            if (type == kFuncAutoSpectrum || type == kFuncSpectrum || type == kFuncOrder)
                OnDataset(static_cast<int>(i), files[i], *index, reader, type == kFuncOrder);
        };
        std::string error;
        int result = 0;
        try {
            result = scan.Scan(*file, &error);
            if (!result && !error.empty())
                throw CUFImportAbort(error);
        } catch (const CUFImportAbort& e) {
            if (*e.what())
                progress.Warning(e.what());
            throw;
        }
        binary += scan.GetBinaryCount();
        CloseLater(std::move(file));
        if (!result)
            return 0;
    }
    if (binary > 0)
        m_notes.push_back(Format("%d binary dataset(s) (58b) were skipped: only ASCII datasets are read.", binary));

    std::stable_sort(m_groups.begin(), m_groups.end(),
                     [](const auto& a, const auto& b) { return a->GetTimeKey() < b->GetTimeKey(); });
    // Files of which nothing can be imported say why, and the import dialog opens again (where the
    // node table or the reading of the RPM can be changed) instead of making an empty project.
    if (std::none_of(m_groups.begin(), m_groups.end(), [](const auto& g) { return g->GetBlockCount() > 0; })) {
        progress.Warning(NothingToImport(), IDS_UF_NOTHING_TO_IMPORT);
        throw CUFImportAbort(std::string());
    }

    CUFDataCheckInput check;
    check.subsystems = &m_subsystems;
    check.clearFlag = m_clearFlag;
    for (const auto& g : m_groups)
        check.groups.push_back(g.get());
    if (!ui.RunDataCheck(check))
        throw CUFImportAbort(std::string());
    m_clearFlag = check.clearFlag;
    return 1;
}

bool CMkExtDaqProject::ResolveSubsystem(CDAQPPUFIndex& index)
{
    if (m_namesFromDataset) {
        std::string name = index.GetSubsystem();
        if (m_subsystems.GetIndex(name) < 0)
            name = CSubsystemManager(&m_subsystems, &m_shortNames).FindByShortName(name);
        if (name.empty() || index.GetLP() < 0) {
            ++m_tally.unknownNames[index.GetSubsystem()];
            return false;
        }
        index.SetPoint(name, index.GetLP());
        // The node map learns the points the datasets name, under their own node numbers when free.
        CUFNodeMap& map = m_project->GetNodeMap();
        CUFNode node(name, index.GetLP());
        if (!map.FindNode(node)) {
            const int number = index.GetRespNode();
            if (number > 0 && map.Nodes().count(number) == 0) {
                node.m_nNode = number;
                map.SetAt(node);
            } else {
                map.AddNewNode(node);
            }
        }
    } else {
        const auto& nodes = m_project->GetNodeMap().Nodes();
        auto it = nodes.find(index.GetRespNode());
        if (it == nodes.end()) {
            ++m_tally.unknownNodes[index.GetRespNode()];
            return false;
        }
        index.SetPoint(it->second.m_strSSName, it->second.m_nLP);
    }
    if (m_subsystems.GetIndex(index.GetSubsystem()) >= 0)
        return true;
    ++m_tally.unknownNames[index.GetSubsystem()];
    return false;
}

std::string CMkExtDaqProject::NothingToImport() const
{
    // The first step of the road that no dataset got past says why.
    auto listed = [](const auto& counts, auto text) {
        std::string out;
        int shown = 0;
        for (const auto& entry : counts) {
            if (shown == 8) {
                out += ", ...";
                break;
            }
            out += (shown++ ? ", " : "") + text(entry.first);
        }
        return out;
    };
    std::string why;
    if (m_tally.datasets == 0) {
        why = MessageTextOf(IDS_UF_NO_DATASET);
    } else if (m_tally.spectra == 0) {
        why = FormatString(IDS_UF_NO_USABLE_KIND, m_tally.datasets,
                           listed(m_tally.functionTypes, [](int type) { return Format("%d", type); }).c_str());
    } else if (m_tally.overAxis == 0 && m_tally.ordersPassed > 0) {
        why = MessageTextOf(IDS_UF_ORDERS_NEED_ORDER_MODE);
    } else if (m_tally.overAxis == 0) {
        why = MessageTextOf(IDS_UF_NOT_OVER_AXIS);
    } else if (!m_tally.unknownNodes.empty() && m_tally.unknownNames.empty()) {
        why = FormatString(IDS_UF_NODES_NOT_IN_TABLE,
                           listed(m_tally.unknownNodes, [](int node) { return Format("%d", node); }).c_str());
    } else {
        why = FormatString(IDS_UF_NAMES_NOT_SUBSYSTEMS, listed(m_tally.unknownNames, [](const std::string& name) {
                                                            return name.empty() ? std::string("\"\"") : name;
                                                        }).c_str());
    }
    return FormatString(IDS_UF_NOTHING_TO_IMPORT, why.c_str());
}

CUFDaqData* CMkExtDaqProject::FindOrAddGroup(const std::string& name, int timeKey)
{
    // The first group made of this name whose time key lies within the tolerance. Groups of one
    // name are kept by time key, so a file of many runs finds its group without a walk over all.
    auto& byKey = m_groupsByName[name];
    const auto [lo, hi] = ToleranceWindow(timeKey, m_tolerance);
    CUFDaqData* found = nullptr;
    for (auto it = byKey.lower_bound(lo); it != byKey.end() && it->first <= hi; ++it)
        if (!found || m_groupOrder[it->second] < m_groupOrder[found])
            found = it->second;
    if (found)
        return found;
    auto group = std::make_unique<CUFDaqData>();
    std::string typed = name;
    group->SetSubsystem(name, m_container.GetSubsystemType(typed, 0), GetSubsystemParamByName(&m_container, name));
    group->SetCoefficient(m_coefficient);
    group->SetCoefficientSwitch(m_coefficientSwitch);
    group->SetDoubling(m_doubling);
    m_groups.push_back(std::move(group));
    CUFDaqData* made = m_groups.back().get();
    m_groupOrder[made] = m_groups.size();
    byKey.emplace(made->GetTimeKey(), made);
    return made;
}

void CMkExtDaqProject::AddToGroup(CUFDaqData& group, std::unique_ptr<CDAQPPUFData>& block, double rpm, int structure)
{
    const int before = group.GetTimeKey();
    group.AddBlock(block, rpm, structure, m_tolerance);
    if (group.GetTimeKey() == before)
        return;
    // The group's time key follows its latest block: its place among the groups of its name too.
    auto& byKey = m_groupsByName[group.GetName()];
    for (auto it = byKey.lower_bound(before); it != byKey.end() && it->first == before; ++it)
        if (it->second == &group) {
            byKey.erase(it);
            break;
        }
    byKey.emplace(group.GetTimeKey(), &group);
}

TAG_UFRPMINFO* CMkExtDaqProject::FindRun(int timeKey) const
{
    // The first run made whose time key lies within the tolerance.
    const auto [lo, hi] = ToleranceWindow(timeKey, m_tolerance);
    size_t best = m_runs.size();
    for (auto it = m_runByKey.lower_bound(lo); it != m_runByKey.end() && it->first <= hi; ++it)
        best = std::min(best, it->second);
    return best < m_runs.size() ? m_runs[best].get() : nullptr;
}

TAG_UFRPMINFO* CMkExtDaqProject::AddRun(std::unique_ptr<TAG_UFRPMINFO> run)
{
    m_runByKey.emplace(run->timeKey, m_runs.size());
    m_runs.push_back(std::move(run));
    return m_runs.back().get();
}

void CMkExtDaqProject::CheckValueCount(const CDAQPPUFIndex& index, const CUFLineReader& file)
{
    const uint64_t size = file.GetSize();
    const uint64_t left = size > file.Tell() ? size - file.Tell() : 0;
    if (std::string why = CDAQPPUFData::CheckCount(index.GetNumValues(), CDAQPPUFData::NumbersPerValue(index), left);
        !why.empty())
        Refuse(index, "number of values (record 7)", why);
}

void CMkExtDaqProject::CheckLineAxis(const CDAQPPUFIndex& index)
{
    // The bands the project would make of this dataset's lines must be storable; the datasets of a
    // run share their axis, so each axis is checked once.
    const LineAxis axis{index.GetAbscMin(), index.GetAbscIncrement(), index.GetNumValues()};
    if (m_checkedAxis && m_checkedAxis->min == axis.min && m_checkedAxis->step == axis.step &&
        m_checkedAxis->count == axis.count)
        return;
    const std::string why = CBandSetCheck::Storable(*m_project->BuildLineBands(axis.min, axis.step, axis.count));
    if (!why.empty())
        Refuse(index,
               Format("frequency axis (record 7: first frequency %g Hz, frequency step %g Hz)", axis.min, axis.step),
               why);
    m_checkedAxis = axis;
}

void CMkExtDaqProject::OnDataset(int fileIndex, const std::string& path, CDAQPPUFIndex& index, CUFLineReader& file,
                                 bool order)
{
    index.SetFile(path);
    const int time = index.GetCreated();
    ++m_tally.spectra;
    if (!order) {
        if (index.GetAxisDataType(0) != kAbscFrequency)
            return;
        ++m_tally.overAxis;
        const double rpm = m_rpmMode == kModeFixed ? m_rpmStart : index.GetZValue();
        if (!ResolveSubsystem(index))
            return;
        ++m_tally.withSubsystem;
        CheckValueCount(index, file);
        if (std::string why = TAG_UFRPMINFO::CheckRpm(rpm); !why.empty())
            Refuse(index, "RPM (record 7)", why);
        if (m_rpmMode != kModeOrder)
            CheckLineAxis(index);
        std::string typed = index.GetSubsystem();
        const int structure =
            m_container.GetSubsystemType(typed, 0) < CUFDaqData::kKindStructureLimit && m_structureOption == 1;
        std::unique_ptr<CDAQPPUFData> block = std::make_unique<CDAQPPFreqData>();
        block->SetIndex(index);
        CUFDaqData* group = FindOrAddGroup(index.GetSubsystem(), time);
        group->SetDescription(path);
        TAG_UFRPMINFO* run = FindRun(time);
        if (!run) {
            auto made = std::make_unique<TAG_UFRPMINFO>();
            made->timeKey = time;
            if (m_snap && fileIndex > 0 && !m_runs.empty()) {
                made->rpms = m_runs.front()->rpms;
                made->gridIndexes = m_runs.front()->gridIndexes;
            }
            run = AddRun(std::move(made));
        }
        int at = m_snap && fileIndex > 0 ? run->FindNearestRpm(rpm) : -1;
        if (at < 0)
            at = run->FindOrInsertRpm(rpm);
        AddToGroup(*group, block, run->rpms[static_cast<size_t>(at)], structure);
        return;
    }
    if (m_rpmMode != kModeOrder) {
        ++m_tally.ordersPassed;
        return;
    }
    if (index.GetAxisDataType(0) != kAbscRpm)
        return;
    ++m_tally.overAxis;
    if (!ResolveSubsystem(index))
        return;
    ++m_tally.withSubsystem;
    CheckValueCount(index, file);
    std::string typed = index.GetSubsystem();
    const int structure =
        m_container.GetSubsystemType(typed, 0) < CUFDaqData::kKindStructureLimit && m_structureOption == 1;
    auto rpmData = std::make_unique<CDAQPPRpmData>();
    rpmData->SetIndex(index);
    UFReadOptions options;
    options.bGToSI = structure;
    std::string error;
    if (!rpmData->ReadValues(file, options, &error)) {
        throw CUFImportAbort(Format("%s\n%s", index.MakeErrorText().c_str(), error.c_str()));
    }
    const std::vector<double>& rpms = rpmData->GetRpm();
    for (size_t i = 0; i < rpms.size(); ++i)
        if (std::string why = TAG_UFRPMINFO::CheckRpm(rpms[i]); !why.empty())
            Refuse(index, Format("RPM of value %d", static_cast<int>(i) + 1), why);
    if (std::string why = CBandSetCheck::Storable(*m_project->BuildOrderBands(m_order, rpms)); !why.empty())
        Refuse(index, Format("order %g of its RPMs", m_order), why);
    CUFDaqData* group = FindOrAddGroup(index.GetSubsystem(), time);
    group->SetDescription(path);
    TAG_UFRPMINFO* run = FindRun(time);
    const bool made = run == nullptr;
    if (made) {
        auto fresh = std::make_unique<TAG_UFRPMINFO>();
        fresh->timeKey = time;
        run = AddRun(std::move(fresh));
    }
    for (double r : rpms)
        run->FindOrInsertRpm(r);
    if (made)
        for (size_t k = 0; k < run->rpms.size(); ++k)
            run->gridIndexes.push_back(static_cast<int>(k));
    std::unique_ptr<CDAQPPUFData> block = std::move(rpmData);
    AddToGroup(*group, block, 0.0, structure);
}

void CMkExtDaqProject::RemoveEarlierExperiments()
{
    if (m_clearFlag) {
        m_project->RemoveAllChildren();
        return;
    }
    // Data sets of files no longer listed go, and so do those of the files read now: their
    // experiments are made again from the new data.
    std::vector<std::string> keep;
    for (const std::string& file : m_project->GetSourceFiles()) {
        const std::string title = FileTitle(file);
        bool readNow = false;
        for (const auto& g : m_groups)
            readNow = readNow || FileTitle(g->GetDescription()) == title;
        if (!readNow)
            keep.push_back(file);
    }
    for (int e = m_project->GetChildCount() - 1; e >= 0; --e) {
        auto* exp = ElementCast<CTALVOExp>(m_project->GetChild(e));
        for (int i = exp ? exp->GetChildCount() - 1 : -1; i >= 0; --i)
            m_project->RemoveExperimentsOfMissingFiles(exp, i, keep);
    }
}

bool CMkExtDaqProject::CheckRunSetup(TAG_UFRPMINFO& run, std::string& why)
{
    if (m_rpmMode == kModeOrder)
        return true;
    if (m_rpmMode == kModeFixed) {
        run.BuildFixedGrid();
        return !run.rpms.empty();
    }
    TAG_UFRPMINFO::Grid grid;
    if (run.BuildGrid(grid, &why))
        return true;
    const auto [from, to] = GroupsOfRun(run);
    const std::string file = from < to ? FileTitle(m_groups[from]->GetDescription()) : std::string("?");
    if (!why.empty()) {
        why = Format("The run of %s in %s: %s.\nNothing was imported.", RunTime(run.timeKey).c_str(), file.c_str(),
                     why.c_str());
    } else if (!run.rpms.empty()) {
        // Spectra of one engine speed (a file of a test bench, or one whose Z value is unset) have
        // no run-up to read the RPM from: the message says which reading takes them.
        const std::string detail =
            run.rpms.size() == 1 || run.rpms.front() == run.rpms.back()
                ? FormatString(IDS_UF_NO_RPM_RUN, RunTime(run.timeKey).c_str(), file.c_str(), run.rpms.front())
                : FormatString(IDS_UF_RPM_TOO_CLOSE, RunTime(run.timeKey).c_str(), file.c_str(), run.rpms.front(),
                               run.rpms.back());
        why = std::string(kNoRpm) + "\n" + detail;
    }
    return false;
}

std::pair<size_t, size_t> CMkExtDaqProject::GroupsOfRun(const TAG_UFRPMINFO& run) const
{
    // The groups are sorted by time key once the files are scanned: a run's groups are one stretch.
    const auto [lo, hi] = ToleranceWindow(run.timeKey, m_tolerance);
    const auto first = std::lower_bound(m_groups.begin(), m_groups.end(), lo,
                                        [](const auto& g, int key) { return g->GetTimeKey() < key; });
    const auto last =
        std::upper_bound(first, m_groups.end(), hi, [](int key, const auto& g) { return key < g->GetTimeKey(); });
    return {static_cast<size_t>(first - m_groups.begin()), static_cast<size_t>(last - m_groups.begin())};
}

std::unique_ptr<COctaveManagerEx> CMkExtDaqProject::PlanBands(const TAG_UFRPMINFO& run, bool lineBandsMade,
                                                              std::string& source) const
{
    if (m_rpmMode == kModeOrder) {
        std::vector<double> rpms;
        for (double r : run.rpms)
            if (r != 0.0)
                rpms.push_back(r);
        source = Format("the RPMs of the run of %s at order %g", RunTime(run.timeKey).c_str(), m_order);
        return m_project->BuildOrderBands(m_order, rpms);
    }
    const COctaveManagerEx* current = m_project->GetOctaveManager();
    const bool empty = !current || current->GetFreqCount() == 0 || current->GetBandType() != OCTAVE_BAND_USER;
    if (!empty || lineBandsMade)
        return nullptr; // the project keeps the bands it has
    CUFDaqData* first = nullptr;
    const auto [from, to] = GroupsOfRun(run);
    for (size_t g = from; g < to; ++g)
        if (m_groups[g]->GetBlockCount() > 0) {
            first = m_groups[g].get();
            break;
        }
    TAG_UFRPMINFO::Grid grid;
    TAG_UFRPMINFO copy = run;
    if (m_rpmMode == kModeFromData)
        copy.BuildGrid(grid);
    const double start = m_rpmMode == kModeFixed ? m_rpmStart : copy.GridRpm(0);
    const CDAQPPUFData* block = first ? first->FindBlock(start, 0) : nullptr;
    const CDAQPPUFIndex* index = block ? block->GetIndex() : nullptr;
    if (!index)
        return nullptr; // the project's default bands are made again
    source = Format("%s, dataset 58 at byte %d", index->GetFileTitle().c_str(), index->GetOffset());
    return m_project->BuildLineBands(index->GetAbscMin(), index->GetAbscIncrement(), index->GetNumValues());
}

void CMkExtDaqProject::ApplyRunSetup(TAG_UFRPMINFO& run)
{
    TAG_UFRPMINFO::Grid grid;
    if (m_rpmMode == kModeFromData)
        run.BuildGrid(grid);
    const COctaveManagerEx* current = m_project->GetOctaveManager();
    const bool empty = !current || current->GetFreqCount() == 0 || current->GetBandType() != OCTAVE_BAND_USER;
    if (m_rpmMode == kModeOrder) {
        COrderList orders;
        orders.Add(m_order);
        m_project->GetCalcOptions()->SetOrderList(orders);
    }
    if (m_rpmMode == kModeOrder || empty) {
        std::string source;
        std::unique_ptr<COctaveManagerEx> bands = PlanBands(run, false, source);
        if (bands)
            m_project->SetOctaveManager(std::move(bands));
        else
            m_project->ResetBands();
    }
    m_bands = m_project->GetOctaveManager();
    m_rpmStep = m_rpmMode == kModeFromData ? grid.step : 0;

    CDAQConfig* config = m_project->GetDAQConfig();
    if (const CDAQConfig* shared = m_container.GetDAQConfig())
        config->Copy(*shared);
    if (m_bands && m_bands->GetFreqCount() > 0)
        config->SetMaxFreq(static_cast<float>(m_bands->GetFreq(m_bands->GetFreqCount() - 1)));
    config->SetOption60(m_rpmMode);
    if (m_rpmMode == kModeFixed)
        config->SetRpmRef(m_rpmStart);
    if (m_rpmMode == kModeFromData) {
        // The grid was checked to fit 32-bit RPMs before the project changed.
        config->SetRpmLow(grid.start);
        config->SetRpmHigh(
            static_cast<int>(static_cast<long long>(grid.start) + static_cast<long long>(grid.count - 1) * grid.step));
        config->SetRpmMargin(grid.step);
    }
    m_project->SetBandValue(m_coefficient);
    m_project->SetListSelection(m_structureOption);
    m_project->SetOctaveCheck(m_doubling);
}

int CMkExtDaqProject::TargetDataStep(TAG_UFRPMINFO& run, CFeedback& progress)
{
    progress.SetText("Importing target data...");
    CUFDaqData::BuildContext context;
    context.mode = m_rpmMode;
    context.bands = m_bands;
    context.orders = &m_project->GetCalcOptions()->GetOrderList();
    context.orderBandWidth = m_project->GetCalcOptions()->GetOrderBandWidth();
    context.order = m_order;
    context.run = &run;
    context.notes = &m_notes;

    const auto [from, to] = GroupsOfRun(run);
    CUFDaqData* target = nullptr;
    for (size_t g = from; g < to && !target; ++g)
        if (m_groups[g]->GetName() == m_targetName)
            target = m_groups[g].get();
    std::unique_ptr<CUFDaqData> emptyTarget;
    if (!target) {
        emptyTarget = std::make_unique<CUFDaqData>();
        std::string typed = m_targetName;
        emptyTarget->SetSubsystem(m_targetName, m_container.GetSubsystemType(typed, 0), 0.0);
        emptyTarget->SetCoefficient(m_coefficient);
        emptyTarget->SetCoefficientSwitch(m_coefficientSwitch);
        emptyTarget->SetDoubling(m_doubling);
        target = emptyTarget.get();
    }
    target->SetProperty(GetSubsystemParamByName(&m_container, m_targetName));
    CUFDaqData::BuildContext targetContext = context;
    targetContext.localPoints = LocalPointCount(m_targetName);
    const std::vector<std::unique_ptr<CMElement>> targetFuncs = target->BuildFunctions(targetContext);

    auto addSelection = [&](CDAQExperiment& set, const CUFDaqData& group) {
        const int n = LocalPointCount(group.GetName());
        CSubsystemLPInfo info(n);
        for (int i = 0; i < n; ++i)
            info.SetAt(i, 0);
        for (int p = 0; p < group.GetPointCount(); ++p) {
            const int point = group.GetPointNumber(p);
            if (point >= 0 && point < n && group.GetPointFlag(p))
                info.SetAt(point, 1);
        }
        info.SetName(group.GetName());
        set.GetCalcOptions()->GetSubsystemLPInfoList().Add(info);
    };
    auto addFunc = [&](CDAQExperiment& set, std::unique_ptr<CMElement> func) {
        if (!func)
            return;
        func->SetParent(&set);
        set.AddChild(std::move(func));
    };

    progress.Begin(std::string(), static_cast<int64_t>(to - from));
    for (size_t g = from; g < to; ++g) {
        const std::unique_ptr<CUFDaqData>& group = m_groups[g];
        if (group.get() == target)
            continue;
        progress.Step();
        if (progress.IsCancelled())
            return 0;
        if (group->GetBlockCount() == 0)
            continue;
        CUFExpInfo info;
        info.SetName(0, group->GetName());
        info.SetName(1, m_targetName);
        info.SetValue(0, group->GetProperty());
        info.SetValue(1, target->GetProperty());
        info.SetInt(0, run.timeKey);
        info.SetTime(run.timeKey);
        info.SetUFFile(group->GetDescription());
        if (const CDAQPPUFData* block = group->GetBlock(0))
            info.GetIndex() = *block->GetIndex();
        CDAQExperiment* set = m_project->AddUFExperiment(info);
        if (!set) {
            m_notes.push_back(Format("%s (%s): no experiment could be made for these data.", group->GetName().c_str(),
                                     FileTitle(group->GetDescription()).c_str()));
            group->Release();
            continue;
        }
        set->SetUseFlag(1);
        set->SetDescription(Format("%s\r\n%s", kExternalDataLabel, group->GetDescription().c_str()));
        progress.SetText(Format("%s -> %s - #%01d", set->GetFirstInfoName().c_str(), set->GetSecondInfoName().c_str(),
                                set->GetSerial()));
        CUFDaqData::BuildContext groupContext = context;
        groupContext.localPoints = LocalPointCount(group->GetName());
        for (auto& func : group->BuildFunctions(groupContext))
            addFunc(*set, std::move(func));
        for (const auto& func : targetFuncs)
            addFunc(*set, func->Duplicate());
        set->GetCalcOptions()->GetSubsystemLPInfoList().RemoveAll();
        addSelection(*set, *group);
        addSelection(*set, *target);
        CDAQCalculator::CombineLocalPoints(set);
        if (m_rpmMode == kModeFromData || m_rpmMode == kModeOrder)
            CDAQCalculator::AverageLocalPoints(set);
        group->Release();
    }
    return 1;
}
