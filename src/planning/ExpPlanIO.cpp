#include "planning/ExpPlanIO.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unordered_set>

#include "common/ProjectLookups.h"
#include "planning/ExpPlanOwner.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/base/Format.h"
#include "platform/base/TabSplitter.h"
#include "platform/elements/StdioFile.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/excel/SheetNameSet.h"
#include "platform/excel/XlsxWorkbook.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

namespace {

// The hardware's channel rows: 32 slots of 4 units of 2 channels.
constexpr int kMaxBlocks = CQMXBlixList::kRowCount / CExpPlanIO::kRowsPerBlock;

// The C library's reading of a number in a cell, held within int: text that is no number is 0,
// and a number past int's range stands at its end instead of overflowing.
int ToInt(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void SheetNotFound(CFeedback& feedback, const std::string& name)
{
    feedback.Warning(Format("The excel worksheet is not found.\n[%s]", name.c_str()));
}

// The column of field k (0 slot .. 4 subsystem) of block b on a plan sheet.
int PlanColumn(int block, int field)
{
    return 2 + CExpPlanIO::kColumnsPerBlock * block + field;
}

// Sets a channel row when both texts are given, else clears it.
void SetOrClear(CQMXSensorMap& plan, int row, const std::string& sensor, const std::string& subsystem)
{
    const bool both = !sensor.empty() && !subsystem.empty();
    plan.SetSubsystem(row, both ? subsystem : std::string());
    plan.SetSensor(row, both ? sensor : std::string());
}
} // namespace

CExpPlanIO::CExpPlanIO(IExpPlanOwner* owner) : m_owner(owner), m_excel(std::make_unique<CExcelWrapper>())
{
    m_maxChannel = owner ? owner->GetSystemChannelCount() : 0;
    m_maxSlot = (m_maxChannel + 7) / 8;
}

CExpPlanIO::~CExpPlanIO()
{
    m_excel->Quit();
}

int CExpPlanIO::BlockCount(int channels)
{
    return std::clamp((channels + kRowsPerBlock - 1) / kRowsPerBlock, 0, kMaxBlocks);
}

std::vector<std::string> CExpPlanIO::PlanSheetNames(const std::vector<std::string>& planNames)
{
    CSheetNameSet taken({kUnitSheet, kLocalPointSheet, kPlanListSheet});
    std::vector<std::string> names;
    names.reserve(planNames.size());
    for (const std::string& plan : planNames)
        names.push_back(taken.Take(plan));
    return names;
}

// ---- export ----

int CExpPlanIO::ExportToExcel(const std::string& path)
{
    if (!m_owner)
        return 0;
    if (!m_excel->Create(true)) {
        Messages().Warning(MessageTextOf(IDS_EXCEL_NOT_STARTED), IDS_EXCEL_NOT_STARTED);
        return 0;
    }
    if (!m_excel->Open()) {
        Messages().Warning(m_excel->ErrorText());
        return 0;
    }
    const CQMXBlixListArray& groups = m_owner->GetBlixLists();
    const CSensorAssignment* assignment = m_owner->GetSensorAssignment();
    const CQMXSensorMapList* plans = m_owner->GetSensorMapList();
    const int planCount = plans ? plans->GetPlanCount() : 0;
    m_progress->Begin(Format("Exporting [%s]...", path.c_str()), 3 + planCount);

    // A new workbook comes with a sheet of its own; ours replace it.
    const int blankSheets = m_excel->GetSheetCount();
    auto addSheet = [this](const std::string& name) { return m_excel->AddSheet(name, m_excel->GetSheetCount()); };

    addSheet(kUnitSheet);
    m_excel->SetCellString(3, 2, "Max CH#");
    m_excel->SetCellString(3, 3, Format("%d", m_maxChannel));
    m_excel->SetCellString(4, 2, "Max QMX Slot#");
    m_excel->SetCellString(4, 3, Format("%d", m_maxSlot));
    int row = 5;
    for (int g = 0; g < groups.GetSize(); ++g) {
        const CQMXBlixList* group = groups.GetAt(g);
        if (!group)
            continue;
        ++row; // one empty row before each group
        m_excel->SetCellString(row, 2, Format("%d", group->GetNumber()));
        for (int u = 0; u < CQMXBlixList::kUnitsPerSlot; ++u)
            m_excel->SetCellString(row, 3 + u, Format("BLIX #%1d", u + 1));
        for (int slot = 0; slot < m_maxSlot; ++slot) {
            ++row;
            m_excel->SetCellString(row, 2, Format("Slot %d", slot + 1));
            for (int u = 0; u < CQMXBlixList::kUnitsPerSlot; ++u) {
                const std::string name = group->GetUnitName(slot, u);
                if (!name.empty())
                    m_excel->SetCellString(row, 3 + u, name);
            }
        }
        ++row;
    }
    m_progress->SetPos(1);

    addSheet(kLocalPointSheet);
    m_excel->SetCellString(2, 2, "Subsystem");
    for (int k = 0; k < kLocalPointColumns; ++k)
        m_excel->SetCellString(2, 3 + k, Format("LP#%02d", k + 1));
    if (assignment)
        for (int i = 0; i < assignment->GetRowCount(); ++i) {
            m_excel->SetCellString(3 + i, 2, assignment->GetSubsystemName(i));
            for (int k = 0; k < assignment->GetItemCount(i); ++k)
                m_excel->SetCellString(3 + i, 3 + k, assignment->GetItem(i, k));
        }
    m_progress->SetPos(2);

    addSheet(kPlanListSheet);
    const char* headings[] = {"Name", "BLIX", "CH", "Group", "Comments"};
    for (int c = 0; c < 5; ++c)
        m_excel->SetCellString(2, 2 + c, headings[c]);
    std::vector<std::string> planNames;
    for (int p = 0; p < planCount; ++p) {
        const CQMXSensorMap* plan = plans->GetPlan(p);
        planNames.push_back(plan->GetName());
        m_excel->SetCellString(3 + p, 2, plan->GetName());
        m_excel->SetCellString(3 + p, 3, Format("%d", plan->GetUsedUnitCount()));
        m_excel->SetCellString(3 + p, 4, Format("%d", plan->GetUsedChannelCount()));
        m_excel->SetCellString(3 + p, 5, Format("%d", plan->GetUnitGroupNumber()));
        if (!plan->GetComment().empty())
            m_excel->SetCellString(3 + p, 6, plan->GetComment());
    }
    m_progress->SetPos(3);

    const std::vector<std::string> sheetNames = PlanSheetNames(planNames);
    const int rows = kRowsPerBlock * BlockCount(m_maxChannel);
    for (int p = 0; p < planCount; ++p) {
        const CQMXSensorMap* plan = plans->GetPlan(p);
        addSheet(sheetNames[static_cast<size_t>(p)]);
        for (int i = 0; i < rows && i < plan->GetRowCount(); ++i) {
            tagSENSORMAP r;
            plan->GetRow(i, r);
            const int sheetRow = kPlanFirstRow + i % kRowsPerBlock;
            const int block = i / kRowsPerBlock;
            if (i % 8 == 0)
                m_excel->SetCellString(sheetRow, PlanColumn(block, 0), Format("Slot %d", r.slot + 1));
            if (i % 2 == 0 && !r.unitName.empty())
                m_excel->SetCellString(sheetRow, PlanColumn(block, 1), r.unitName);
            m_excel->SetCellString(sheetRow, PlanColumn(block, 2), Format("%d", r.channel + 1));
            if (!r.sensor.empty())
                m_excel->SetCellString(sheetRow, PlanColumn(block, 3), r.sensor);
            if (!r.subsystem.empty())
                m_excel->SetCellString(sheetRow, PlanColumn(block, 4), r.subsystem);
        }
        m_progress->SetPos(4 + p);
    }
    for (int s = 0; s < blankSheets; ++s)
        m_excel->GetWorkbook()->RemoveSheet(0);

    const bool saved = m_excel->SaveAs(path, xlExcel9795);
    m_progress->End();
    if (!saved) {
        Messages().Warning(m_excel->ErrorText());
        return 0;
    }
    return 1;
}

// ---- import ----

int CExpPlanIO::ImportFromExcel(const std::string& path)
{
    if (!m_owner || !m_owner->GetSensorMapList() || !m_owner->GetSensorAssignment())
        return 0;
    if (!m_excel->Create(false)) {
        Messages().Warning(MessageTextOf(IDS_EXCEL_NOT_STARTED), IDS_EXCEL_NOT_STARTED);
        return 0;
    }
    if (!m_excel->Open(path)) {
        Messages().Warning(m_excel->ErrorText());
        return 0;
    }

    // The unit groups.
    if (!m_excel->SelectSheet(kUnitSheet)) {
        SheetNotFound(Messages(), kUnitSheet);
        return 0;
    }
    const std::string maxChannelText = m_excel->GetCellText(3, 3);
    const int maxChannel = ToInt(maxChannelText);
    if (maxChannel < 1) {
        Messages().Warning("Invalid Max Ch#.");
        return 0;
    }
    // A project of more channels saves a file that no reader opens again.
    if (!IsValidSystemChannelCount(maxChannel)) {
        Messages().Warning(Format("Invalid Max Ch#.\nThe channel count %s is above %d, the most a project holds.",
                                  maxChannelText.substr(0, 40).c_str(), kMaxSystemChannelCount));
        return 0;
    }
    const int maxSlot = ToInt(m_excel->GetCellText(4, 3));
    if (maxSlot < 1) {
        Messages().Warning("Invalid Max QMX Slot#.");
        return 0;
    }
    CQMXBlixListArray groups;
    for (long heading = 6; heading <= kLastReadRow; heading += static_cast<long>(maxSlot) + 2) {
        const std::string number = m_excel->GetCellText(static_cast<int>(heading), 2);
        if (number.empty())
            break;
        auto group = std::make_unique<CQMXBlixList>(ToInt(number));
        for (int slot = 0; slot < maxSlot && heading + 1 + slot <= kLastReadRow; ++slot) {
            if (slot >= CQMXBlixList::kSlotCount)
                break; // rows past the hardware's slots name no unit of a group
            for (int u = 0; u < CQMXBlixList::kUnitsPerSlot; ++u)
                group->SetUnitName(slot, u, m_excel->GetCellText(static_cast<int>(heading + 1 + slot), 3 + u));
        }
        groups.Add(std::move(group));
    }

    // The sensor assignment.
    if (!m_excel->SelectSheet(kLocalPointSheet)) {
        SheetNotFound(Messages(), kLocalPointSheet);
        return 0;
    }
    CSensorAssignment assignment(*m_owner->GetSensorAssignment());
    for (int row = 3; row <= kLastReadRow; ++row) {
        const std::string subsystem = m_excel->GetCellText(row, 2);
        if (subsystem.empty())
            break;
        const int i = assignment.FindRow(subsystem);
        if (i < 0)
            continue;
        std::vector<std::string> sensors;
        for (int k = 0; k < kMaxLocalPoints; ++k) {
            std::string sensor = m_excel->GetCellText(row, 3 + k);
            if (sensor.empty())
                break;
            sensors.push_back(std::move(sensor));
        }
        assignment.SetItemCount(i, static_cast<int>(sensors.size()));
        for (size_t k = 0; k < sensors.size(); ++k)
            assignment.SetItem(i, static_cast<int>(k), sensors[k]);
    }

    // The plan list.
    if (!m_excel->SelectSheet(kPlanListSheet)) {
        SheetNotFound(Messages(), kPlanListSheet);
        return 0;
    }
    CQMXSensorMapList plans(groups.Pointers());
    std::vector<std::string> planNames;
    std::vector<std::pair<int, std::string>> planRows;
    std::vector<std::string> comments;
    for (int row = 3; row <= kLastReadRow; ++row) {
        const std::string name = m_excel->GetCellText(row, 2);
        if (name.empty())
            break;
        planNames.push_back(name);
        planRows.emplace_back(ToInt(m_excel->GetCellText(row, 5)), name);
        comments.push_back(m_excel->GetCellText(row, 6));
    }
    // One sheet per plan. A plan takes far more memory than a row of the list does in the file, so
    // every sheet the list names must be in the workbook before any plan is made: what is built
    // then stays in proportion to what the file holds.
    const std::vector<std::string> sheetNames = PlanSheetNames(planNames);
    {
        std::unordered_set<std::string> held;
        if (const CXlsxWorkbook* workbook = m_excel->GetWorkbook())
            for (int i = 0; i < workbook->GetSheetCount(); ++i)
                held.insert(workbook->GetSheet(i)->GetName());
        for (const std::string& sheet : sheetNames)
            if (!held.count(sheet)) {
                SheetNotFound(Messages(), sheet);
                return 0;
            }
    }
    plans.AddPlans(planRows);
    for (size_t p = 0; p < comments.size(); ++p)
        plans.GetPlan(static_cast<int>(p))->SetComment(comments[p]);

    const int rows = kRowsPerBlock * BlockCount(maxChannel);
    m_progress->Begin(Format("Importing [%s]...", path.c_str()), plans.GetPlanCount());
    for (int p = 0; p < plans.GetPlanCount(); ++p) {
        m_progress->SetPos(p);
        const std::string& sheet = sheetNames[static_cast<size_t>(p)];
        if (!m_excel->SelectSheet(sheet)) {
            m_progress->End();
            SheetNotFound(Messages(), sheet);
            return 0;
        }
        CQMXSensorMap* plan = plans.GetPlan(p);
        for (int i = 0; i < rows && i < plan->GetRowCount(); ++i) {
            const int sheetRow = kPlanFirstRow + i % kRowsPerBlock;
            const int block = i / kRowsPerBlock;
            SetOrClear(*plan, i, m_excel->GetCellText(sheetRow, PlanColumn(block, 3)),
                       m_excel->GetCellText(sheetRow, PlanColumn(block, 4)));
        }
    }
    m_progress->End();

    // Everything was read: the project takes it over.
    m_owner->SetMaxChannel(maxChannel);
    m_maxChannel = maxChannel;
    m_maxSlot = (maxChannel + 7) / 8;
    CQMXBlixListArray& target = m_owner->GetBlixLists();
    target.RemoveAll();
    for (int g = 0; g < groups.GetSize(); ++g) {
        auto copy = std::make_unique<CQMXBlixList>(*groups.GetAt(g), groups.GetAt(g)->GetNumber());
        target.Add(std::move(copy));
    }
    *m_owner->GetSensorAssignment() = assignment;
    CQMXSensorMapList* list = m_owner->GetSensorMapList();
    list->SwapPlans(plans);
    list->SetUnitGroups(target.Pointers());
    return 1;
}

// ---- one plan as text ----

void CExpPlanIO::ExportPlanText(CStdioFile& file, const CQMXSensorMap& plan) const
{
    const int blocks = BlockCount(m_maxChannel);
    for (int r = 0; r < kRowsPerBlock; ++r) {
        std::string line;
        for (int b = 0; b < blocks; ++b) {
            const int i = r + kRowsPerBlock * b;
            tagSENSORMAP row;
            if (!plan.GetRow(i, row))
                break;
            if (b > 0)
                line += '\t';
            if (i % 8 == 0)
                line += Format("Slot %d", row.slot + 1);
            line += '\t';
            if (i % 2 == 0)
                line += row.unitName;
            line += Format("\t%d\t%s\t%s", row.channel + 1, row.sensor.c_str(), row.subsystem.c_str());
        }
        file.WriteString(line + "\n");
    }
}

void CExpPlanIO::ImportPlanText(CStdioFile& file, CQMXSensorMap& plan) const
{
    const int blocks = BlockCount(m_maxChannel);
    std::string line;
    for (int r = 0; r < kRowsPerBlock && file.ReadString(line); ++r) {
        // A line end written twice over ("\r\r\n", a file passed through two CR LF conversions)
        // leaves no carriage return on the last subsystem name.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::vector<std::string> fields = CTabSplitter().Split(line);
        auto field = [&fields](size_t k) { return k < fields.size() ? fields[k] : std::string(); };
        for (int b = 0; b < blocks; ++b) {
            const int i = r + kRowsPerBlock * b;
            if (i >= plan.GetRowCount())
                break;
            const size_t base = static_cast<size_t>(kColumnsPerBlock) * static_cast<size_t>(b);
            SetOrClear(plan, i, field(base + 3), field(base + 4));
        }
    }
}
