#pragma once
// What the universal-file import asks of the user, through a small interface so the import itself
// never calls the user interface: the acquisition-source choice, the import dialog, the data check
// and the progress display. The windows library installs the dialogs at start-up; without them
// (or in tests) an installed stand-in answers. With nothing installed every question is cancelled.
#include <memory>
#include <string>
#include <vector>

class CCalcOptions;
class CFeedback;
class COctaveManager;
class COctaveManagerEx;
class CUFDaqData;
class CUFNodeMap;
class CZuSubsystemTable;

// The import dialog's values, filled from the import's settings and read back after OK.
struct CUFImportSettings
{
    std::vector<std::string>* files = nullptr; // the project's universal files, edited in place
    CUFNodeMap* nodeMap = nullptr;
    std::string nodeTable;                      // the node table the dialog read into nodeMap; empty when it read none
    const COctaveManager* modelBands = nullptr; // the bands the octave page offers
    COctaveManagerEx* bands = nullptr;          // the project's current bands
    CCalcOptions* calcOptions = nullptr;        // the order-tracking page's options
    int choice = 0;                             // 0 fixed RPM, 1 RPM from the data, 2 order data
    int fixedRpm = 3000;                        // with choice 0
    std::string orderText = "1.0";              // with choice 2
    int structureOption = 0;                    // list box IDC_STRUCTURE
    int namesFromDataset = 0;                   // check box IDC_NAMES_FROM_DATASET
    // The subsystems the datasets' point names may stand for, and their short names (edited by
    // the dialog that IDC_NAMES_FROM_DATASET opens); null when the import has none.
    const CZuSubsystemTable* subsystems = nullptr;
    CZuSubsystemTable* shortNames = nullptr;
    int snap = 0;                   // check box IDC_SNAP
    double coefficient = 0.3321125; // the octave page's band value
    int doubling = 1;               // the octave page's check box
    int coefficientSwitch = 1;      // the octave page's option choice
};

// The data check: the scanned measurement sets per subsystem, whose local points the user
// includes or excludes (the sets' point flags), and whether earlier experiments are all removed.
struct CUFDataCheckInput
{
    const CZuSubsystemTable* subsystems = nullptr;
    std::vector<CUFDaqData*> groups;
    int clearFlag = 1;
};

class IUFImportUI
{
public:
    virtual ~IUFImportUI() = default;
    // -1 cancelled, 0 the acquisition hardware, 1 universal files.
    virtual int SelectDAQSystem() = 0;
    // True on OK (settings then hold the user's choices).
    virtual bool RunImportDialog(CUFImportSettings& settings) = 0;
    // True on OK (the clear flag and the point flags then hold the user's choices).
    virtual bool RunDataCheck(CUFDataCheckInput& input) = 0;
    // Shows the progress display (made when needed) and returns its feedback, never null; the UI
    // keeps it until CloseProgress.
    virtual CFeedback* ShowProgress() = 0;
    virtual void CloseProgress() = 0;
};

// The installed UI (not owned); null when none is.
IUFImportUI* GetUFImportUI();
void SetUFImportUI(IUFImportUI* ui);
