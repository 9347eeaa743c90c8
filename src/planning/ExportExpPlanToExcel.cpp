#include "planning/ExportExpPlanToExcel.h"

#include "common/ProjectLookups.h"
#include "common/SubsystemManager.h"
#include "platform/base/Format.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/base/Feedback.h"

namespace {
// Every border of the tables is a thin continuous line in the sheet's own colour.
void Border(CExcelWrapper& excel, int row1, int col1, int row2, int col2, int index)
{
    excel.SetRangeBorders(row1, col1, row2, col2, index, xlContinuous, xlThin, -1);
}

// The fill of a layout column's cells below the header (and of the header for subsystem columns).
int ColumnColor(int type)
{
    switch (type) {
    case 1:
        return CExportExpPlanToExcel::kColorGlobal;
    case 11:
    case 12:
        return CExportExpPlanToExcel::kColorChannel;
    default:
        return CExportExpPlanToExcel::kColorBody;
    }
}

// The fill of a layout column's header cell.
int LabelColor(int type)
{
    switch (type) {
    case 1:
        return CExportExpPlanToExcel::kColorGlobal;
    case 11:
    case 12:
        return CExportExpPlanToExcel::kColorChannel;
    default:
        return CExportExpPlanToExcel::kColorLabel;
    }
}
} // namespace

CExportExpPlanToExcel::CExportExpPlanToExcel(const CZuSubsystemTable* subsystems, const std::string& containerName,
                                             const IProjectLookups* project, DAQPPCellContext context,
                                             std::vector<tagCHTABLECOL> columns)
    : m_project(project), m_context(std::move(context)), m_columns(std::move(columns))
{
    if (subsystems)
        m_subsystems = *subsystems;
    if (!containerName.empty())
        m_subsystems.AddUnique(containerName);
    m_subsystems.Sort();
}

CExportExpPlanToExcel::~CExportExpPlanToExcel() = default;

int CExportExpPlanToExcel::Export(const CDAQPPExpPlanList& plans, const std::vector<int>& indexes,
                                  const std::string& path)
{
    CExcelWrapper excel;
    if (!excel.Create(true)) {
        m_progress->Warning("Failed to run MS-Excel.");
        return 0;
    }
    if (!excel.Open()) {
        m_progress->Warning("Failed to add new workbook.");
        return 0;
    }
    m_sheetPos = excel.GetSheetCount();

    const bool showProgress = static_cast<int>(indexes.size()) >= kProgressPlanCount;
    if (showProgress)
        m_progress->Begin(Format("Exporting [%s]...", path.c_str()), static_cast<int>(indexes.size()) + 1);

    WriteSubsystemSheet(excel);
    int done = 0;
    for (int index : indexes) {
        if (const CDAQPPExpPlan* plan = plans.GetPlan(index))
            WritePlanSheet(excel, plans, *plan);
        if (showProgress)
            m_progress->SetPos(++done);
    }
    const bool saved = excel.SaveAs(path, xlExcel9795);
    if (showProgress)
        m_progress->End();
    if (!saved) {
        m_progress->Warning(excel.ErrorText());
        return 0;
    }
    return 1;
}

void CExportExpPlanToExcel::WriteSubsystemSheet(CExcelWrapper& excel)
{
    excel.AddSheet(kSubsystemSheet, m_sheetPos++);
    excel.SetCellString(2, 3, kSubsystemTitle);
    const char* heads[] = {"No.", "Subsystem", "Short Name", "Mass[Kg]/Volume[m3]"};
    for (int c = 0; c < 4; ++c)
        excel.SetCellString(4, 2 + c, heads[c]);
    CSubsystemManager names(&m_subsystems, &m_shortNames);
    const int count = m_subsystems.GetCount();
    for (int i = 1; i <= count; ++i) {
        const std::string& name = m_subsystems.At(i - 1);
        excel.SetCellText(4 + i, 2, Format("%d", i));
        excel.SetCellString(4 + i, 3, name);
        excel.SetCellString(4 + i, 4, names.GetShortName(name));
        excel.SetCellText(4 + i, 5, Format("%g", GetSubsystemParamByName(m_project, name)));
    }
    const int last = 4 + count;
    excel.SetRangeColor(4, 2, 4, 5, kColorHeader);
    excel.SetRangeBold(4, 2, 4, 5, true);
    for (int index : {xlEdgeLeft, xlEdgeTop, xlEdgeRight, xlEdgeBottom, xlInsideVertical})
        Border(excel, 4, 2, last, 5, index);
    Border(excel, 4, 2, 4, 5, xlEdgeBottom);
    excel.AutoFitColumns(2, 5);
}

void CExportExpPlanToExcel::WritePlanSheet(CExcelWrapper& excel, const CDAQPPExpPlanList& plans,
                                           const CDAQPPExpPlan& plan)
{
    std::vector<std::string> taken;
    if (const CXlsxWorkbook* book = excel.GetWorkbook())
        for (int s = 0; s < book->GetSheetCount(); ++s)
            taken.push_back(book->GetSheet(s)->GetName());
    excel.AddSheet(CExcelWrapper::MakeUniqueSheetName(plan.GetName(), taken, "~"), m_sheetPos++);

    excel.SetCellString(2, 3, plan.GetName());
    excel.SetCellString(2, 4, plan.GetComment());
    excel.SetCellString(4, 2, "CH.");
    for (size_t k = 0; k < m_columns.size(); ++k)
        excel.SetCellString(4, static_cast<int>(k) + 3, m_columns[k].label);

    // The cell rules are the plan list's; they read its layout, which is the one exported here.
    const int channels = plan.GetChannelCount();
    for (int c = 0; c < channels; ++c) {
        tagDAQPP_SENSORMAP row;
        plan.GetRow(c, row);
        row.channel = c;
        const std::vector<std::string> cells = plans.GetCellTexts(row, m_context);
        excel.SetCellText(5 + c, 2, Format("%d", c + 1));
        for (size_t k = 0; k < m_columns.size() && k + 1 < cells.size(); ++k)
            if (m_columns[k].type != 0 && !cells[k + 1].empty())
                excel.SetCellString(5 + c, static_cast<int>(k) + 3, cells[k + 1]);
    }

    const int last = GetLastColumn();
    const int bottom = 4 + channels;
    excel.SetRangeColor(4, 2, 4, 2, kColorChannel);
    for (size_t k = 0; k < m_columns.size(); ++k)
        excel.SetRangeColor(4, static_cast<int>(k) + 3, 4, static_cast<int>(k) + 3, LabelColor(m_columns[k].type));
    excel.SetRangeBold(4, 2, 4, last, true);
    Border(excel, 4, 2, 4, last, xlEdgeTop);
    Border(excel, 4, 2, 4, last, xlEdgeBottom);

    if (channels > 0) {
        excel.SetRangeColor(5, 2, bottom, 2, kColorChannel);
        for (size_t k = 0; k < m_columns.size(); ++k) {
            const int col = static_cast<int>(k) + 3;
            const int type = m_columns[k].type;
            // Subsystem columns are coloured from their header down.
            const int first = type == 11 || type == 12 ? 4 : 5;
            excel.SetRangeColor(first, col, bottom, col, ColumnColor(type));
        }
    }
    Border(excel, 4, 2, bottom, 2, xlEdgeLeft);
    Border(excel, 4, 2, bottom, last + 1, xlInsideVertical);
    Border(excel, bottom, 2, bottom, last, xlEdgeBottom);
    excel.AutoFitColumns(2, last);
}
