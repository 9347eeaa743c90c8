#pragma once
// The planning state of a project (system size, unit groups, sensor assignment, experiment plans)
// as one workbook, and one plan as tab-separated text (the plan editor's clipboard form).
//
// Workbook: sheet "BLIXs" (the system size and each unit group's units by slot), "Local Points"
// (the sensor assignment), "Exp. Plans" (one row per plan) and one sheet per plan, named by the
// valid, unique sheet-name form of the plan's name; 32 rows of channels, 5 columns per block of 32
// channels. All cells are text.
//
// An import reads every sheet into a staging copy first and replaces the project's unit groups,
// sensor assignment, plans and channel count only when all of it was read: a failed import
// changes nothing.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"

class CExcelWrapper;
class CQMXSensorMap;
class CStdioFile;
class IExpPlanOwner;

class CExpPlanIO
{
public:
    // Sheet names and layout.
    static constexpr const char* kUnitSheet = "BLIXs";
    static constexpr const char* kLocalPointSheet = "Local Points";
    static constexpr const char* kPlanListSheet = "Exp. Plans";
    static constexpr int kLocalPointColumns = 60;
    static constexpr int kPlanFirstRow = 3;
    static constexpr int kRowsPerBlock = 32;
    static constexpr int kColumnsPerBlock = 5;
    // Sheets are read down to this row at most.
    static constexpr int kLastReadRow = 65535;
    // Sensors read of one subsystem's row at most.
    static constexpr int kMaxLocalPoints = 253;

    explicit CExpPlanIO(IExpPlanOwner* owner);
    ~CExpPlanIO();
    CExpPlanIO(const CExpPlanIO&) = delete;
    CExpPlanIO& operator=(const CExpPlanIO&) = delete;

    // Progress and messages of the workbook runs (not owned); silent until set (null sets it
    // silent again).
    void SetFeedback(CFeedback* progress) { m_progress = progress ? progress : SilentFeedback(); }

    int GetMaxChannel() const { return m_maxChannel; }
    int GetMaxSlot() const { return m_maxSlot; }

    // 1 when the workbook was saved; else a warning says why and 0.
    int ExportToExcel(const std::string& path);
    // 1 when every sheet was read and the project took it over; else a warning says why and 0,
    // and the project is as it was.
    int ImportFromExcel(const std::string& path);

    // One plan as 32 lines, each line the five fields of one channel row of every block
    // ("Slot %d" or empty, unit name or empty, channel, sensor, subsystem), blocks joined by tabs.
    void ExportPlanText(CStdioFile& file, const CQMXSensorMap& plan) const;
    // Reads such lines back into the plan's sensors and subsystems: a channel with both set takes
    // them, any other is cleared. Lines past 32 and channels the plan lacks are ignored.
    void ImportPlanText(CStdioFile& file, CQMXSensorMap& plan) const;

    // The sheet names of plans in list order: their valid, unique forms beside the fixed sheets.
    static std::vector<std::string> PlanSheetNames(const std::vector<std::string>& planNames);

private:
    // Blocks of 32 channels that a channel count fills (at most the 8 of the hardware's 256).
    static int BlockCount(int channels);
    // Where the runs report their messages.
    CFeedback& Messages() const { return *m_progress; }

    IExpPlanOwner* m_owner;
    int m_maxChannel = 0;
    int m_maxSlot = 0;
    std::unique_ptr<CExcelWrapper> m_excel;
    CFeedback* m_progress = SilentFeedback();
};
