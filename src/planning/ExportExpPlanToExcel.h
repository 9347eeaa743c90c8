#pragma once
// Writes channel plans of a universal-file DAQ project into a new .xlsx workbook: a sheet
// "SS List" with the project's subsystems, then one sheet per plan with its channel table, laid
// out like the plan editor's table and filled by the same cell rules. The workbook is written to
// a temporary file beside the target and renamed over it only when complete.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "planning/DAQPPExpPlanList.h"
#include "platform/base/Feedback.h"
#include "platform/elements/ZuSubsystemTable.h"

class CExcelWrapper;
class IProjectLookups;

class CExportExpPlanToExcel
{
public:
    static constexpr const char* kSubsystemSheet = "SS List";
    static constexpr const char* kSubsystemTitle = "Subystem List";
    // Fill colours by palette index: header cells, global numbers, subsystem columns, the rest.
    static constexpr int kColorHeader = 40;
    static constexpr int kColorChannel = 15;
    static constexpr int kColorGlobal = 45;
    static constexpr int kColorLabel = 35;
    static constexpr int kColorBody = 2;
    // The plans that make the progress worth showing.
    static constexpr int kProgressPlanCount = 3;

    // subsystems: the model's subsystem table; containerName: the project container's own
    // subsystem, listed as one more; project: masses, volumes and sensor look-ups (may be null);
    // context and columns: what the plan cells are made of.
    CExportExpPlanToExcel(const CZuSubsystemTable* subsystems, const std::string& containerName,
                          const IProjectLookups* project, DAQPPCellContext context, std::vector<tagCHTABLECOL> columns);
    ~CExportExpPlanToExcel();
    CExportExpPlanToExcel(const CExportExpPlanToExcel&) = delete;
    CExportExpPlanToExcel& operator=(const CExportExpPlanToExcel&) = delete;

    // Progress over the plans, shown from kProgressPlanCount plans on, and the export's messages
    // (not owned); silent until set (null sets it silent again).
    void SetFeedback(CFeedback* progress) { m_progress = progress ? progress : SilentFeedback(); }

    // Writes the plans of the indexes in their order; indexes that are not plans of the list are
    // skipped. Non-zero on success; else a warning says why (a ".xls" name is refused) and no file
    // is left at the path.
    int Export(const CDAQPPExpPlanList& plans, const std::vector<int>& indexes, const std::string& path);

    // The subsystems the "SS List" shows, in order.
    const CZuSubsystemTable& GetSubsystems() const { return m_subsystems; }
    // The last column of a plan sheet: the layout's column count + 2.
    int GetLastColumn() const { return static_cast<int>(m_columns.size()) + 2; }

private:
    void WriteSubsystemSheet(CExcelWrapper& excel);
    void WritePlanSheet(CExcelWrapper& excel, const CDAQPPExpPlanList& plans, const CDAQPPExpPlan& plan);

    CZuSubsystemTable m_subsystems;
    CZuSubsystemTable m_shortNames;
    const IProjectLookups* m_project;
    DAQPPCellContext m_context;
    std::vector<tagCHTABLECOL> m_columns;
    CFeedback* m_progress = SilentFeedback();
    int m_sheetPos = 0;
};
