#pragma once
// Builds the measured-data tree of a universal-file DAQ project from universal files (dataset 58):
// one experiment per measured subsystem and measurement run, each with the spectra of its subsystem
// and of the target over RPM or over order. A short-lived builder: made for one import, one entry
// operation called, then destroyed. The questions go through the installed import UI.
#include "platform/win/CommandIds.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "uff/UFRpmInfo.h"

class CDAQPPUFData;
class CDAQPPUFIndex;
class CExtUFDaqProject;
class COctaveManagerEx;
class CTALVOProject;
class CUFDaqData;
class CUFLineReader;
class CUFNodeMap;
class IUFImportUI;

class CMkExtDaqProject
{
public:
    static constexpr double kDefaultCoefficient = 0.3321125;
    static constexpr int kDefaultTolerance = 59; // seconds between datasets of one run
    static constexpr int kCmdPlanningMenu = CommandId::ID_PLANNING_WIZARD;
    // Function types of dataset 58 the import takes: spectra (auto and cross) and order functions.
    static constexpr int kFuncAutoSpectrum = 2;
    static constexpr int kFuncSpectrum = 12;
    static constexpr int kFuncOrder = 27;
    static constexpr const char* kExternalDataLabel = "[External DAQ data]";

    enum RpmMode
    {
        kModeUnset = -1,
        kModeFromData = 0,
        kModeFixed = 1,
        kModeOrder = 2,
    };

    // The settings are taken from the project when one is given, else the defaults.
    explicit CMkExtDaqProject(CTALVOProject& container, CExtUFDaqProject* project = nullptr);
    virtual ~CMkExtDaqProject();
    CMkExtDaqProject(const CMkExtDaqProject&) = delete;
    CMkExtDaqProject& operator=(const CMkExtDaqProject&) = delete;

    // Asks for the acquisition source: -1 cancelled, 0 the hardware (the caller makes an ordinary
    // DAQ project), 1 universal files: a new universal-file project is made, shown in the project
    // window, kept as this builder's project, and the main window is sent kCmdPlanningMenu.
    int SelectDAQSystem();
    // The whole import; 1 when experiments were made. What goes wrong while the progress display
    // is open is reported on its feedback; the other messages (refused runs, the closing
    // "Finished" with its notes) on the caller's feedback.
    int ImportUFData(CFeedback* feedback = SilentFeedback());

    // Copies bands, acquisition set-up, calculation options, node map and plans between projects.
    static void CopyProjectSetup(CExtUFDaqProject& source, CExtUFDaqProject& destination);
    // Writes the node map as "UFNodeTable.txt" in the project's folder; errors are ignored. A map
    // without nodes never replaces a table that is there already: a new project in the folder of
    // a measurement would otherwise wipe the table that came with its universal files.
    void SaveNodeTable() const;
    static void SaveNodeTable(const CExtUFDaqProject& project);
    // The node table that came with universal files: "UFNodeTable.txt" in the folder of the first
    // of files that has one; empty when none has.
    static std::string FindNodeTable(const std::vector<std::string>& files);
    // Reads a node table into map; false (map unchanged) with the reason when it does not read or
    // names no node.
    static bool LoadNodeTable(const std::string& path, CUFNodeMap& map, std::string& why);

    CExtUFDaqProject* GetProject() const { return m_project; }
    const std::vector<std::unique_ptr<TAG_UFRPMINFO>>& GetRuns() const { return m_runs; }
    const std::vector<std::unique_ptr<CUFDaqData>>& GetGroups() const { return m_groups; }
    int GetRpmMode() const { return m_rpmMode; }
    int GetTolerance() const { return m_tolerance; }
    // What the import met on its way and left out (shown with the closing message).
    const std::vector<std::string>& GetNotes() const { return m_notes; }

private:
    struct Cancelled
    {};
    // What the scan met, to say why nothing could be imported.
    struct Tally
    {
        int datasets = 0;                        // datasets 58
        std::map<int, int> functionTypes;        // function type -> datasets
        int spectra = 0;                         // spectra (2, 12) and order functions (27)
        int overAxis = 0;                        // of those, over the abscissa their kind needs
        int ordersPassed = 0;                    // order functions read only in the order mode
        int withSubsystem = 0;                   // of those over their axis, with a subsystem of the table
        std::map<int, int> unknownNodes;         // response node -> datasets, not in the node map
        std::map<std::string, int> unknownNames; // point names that name no subsystem
    };
    // Why a scan that made no data block imports nothing, in the user's words.
    std::string NothingToImport() const;

    int Import(IUFImportUI& ui, CFeedback& messages);
    int ImportDialogStep(IUFImportUI& ui, CFeedback& messages);
    int FileStep(IUFImportUI& ui, CFeedback& progress);
    int ScanFile(int fileIndex, const std::string& path, CFeedback& progress);
    void OnDataset(int fileIndex, const std::string& path, CDAQPPUFIndex& index, CUFLineReader& file, bool order);
    // The subsystem of a dataset (written into its index); false when it has none in the table.
    bool ResolveSubsystem(CDAQPPUFIndex& index);
    CUFDaqData* FindOrAddGroup(const std::string& name, int timeKey);
    // Adds a block to a group and keeps the group's place by time key.
    void AddToGroup(CUFDaqData& group, std::unique_ptr<CDAQPPUFData>& block, double rpm, int structure);
    TAG_UFRPMINFO* FindRun(int timeKey) const;
    TAG_UFRPMINFO* AddRun(std::unique_ptr<TAG_UFRPMINFO> run);
    // Refuse the dataset (the import stops, the project unchanged) when its declared values
    // cannot be read, or its lines would make bands that cannot be stored.
    void CheckValueCount(const CDAQPPUFIndex& index, const CUFLineReader& file);
    void CheckLineAxis(const CDAQPPUFIndex& index);
    // The stretch of m_groups (sorted by time key) within the tolerance of the run.
    std::pair<size_t, size_t> GroupsOfRun(const TAG_UFRPMINFO& run) const;
    void RemoveEarlierExperiments();
    // False when the run has no usable RPM grid; why then says more when there is more to say.
    bool CheckRunSetup(TAG_UFRPMINFO& run, std::string& why);
    // The band set the run makes for the project; null when the project keeps its own (line
    // bands once made, or user bands it has) or gets its default one. source names what the
    // bands were made from.
    std::unique_ptr<COctaveManagerEx> PlanBands(const TAG_UFRPMINFO& run, bool lineBandsMade,
                                                std::string& source) const;
    void ApplyRunSetup(TAG_UFRPMINFO& run);
    // 0 when cancelled.
    int TargetDataStep(TAG_UFRPMINFO& run, CFeedback& progress);
    int LocalPointCount(const std::string& subsystem) const;
    // Closes a scanned file, on a thread of its own when it is large (joined by Release).
    void CloseLater(std::unique_ptr<CUFLineReader> file);
    static constexpr uint64_t kCloseLaterSize = uint64_t{16} << 20;
    void Release();

    std::vector<std::unique_ptr<TAG_UFRPMINFO>> m_runs;
    std::map<int, size_t> m_runByKey; // time key -> index into m_runs
    // The groups of each name by time key, and the order they were made in.
    std::unordered_map<std::string, std::multimap<int, CUFDaqData*>> m_groupsByName;
    std::unordered_map<const CUFDaqData*, size_t> m_groupOrder;
    struct LineAxis
    {
        double min;
        double step;
        int count;
    };
    std::optional<LineAxis> m_checkedAxis; // the last axis whose bands were found storable
    std::string m_targetName;
    CTALVOProject& m_container;
    CExtUFDaqProject* m_project = nullptr; // not owned
    COctaveManagerEx* m_bands = nullptr;   // the project's, handed to the import dialog
    CZuSubsystemTable m_subsystems;
    CZuSubsystemTable m_shortNames; // parallel to m_subsystems; made on first use
    int m_rpmMode = kModeUnset;
    int m_rpmStart = 3000;
    int m_rpmStep = 0;
    std::vector<std::unique_ptr<CUFDaqData>> m_groups;
    double m_coefficient = kDefaultCoefficient;
    int m_coefficientSwitch = 1;
    int m_structureOption = 0;
    int m_namesFromDataset = 0;
    int m_snap = 0;
    int m_tolerance = kDefaultTolerance;
    int m_clearFlag = 1;
    int m_doubling = 1;
    double m_order = 1.0;
    std::vector<std::string> m_notes;
    Tally m_tally;
    std::vector<std::string> m_importedFiles; // the files this import read
    std::vector<std::thread> m_closing;       // closing scanned files
};
