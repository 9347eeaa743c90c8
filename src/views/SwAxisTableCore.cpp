#include "views/SwAxisTableCore.h"

#include "calculation/AnalysisProjectAccess.h"
#include "common/Quantity.h"
#include "models/HSEAOptions.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/base/TabSplitter.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/StringTable.h"
#include "spectral/ClipboardText.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "views/TableNumbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Digits of the values in copied text: enough that a paste gives the same numbers back.
constexpr int kCopyDigits = 15;

// Fields at every tab, empty ones included: an empty field holds the place of its cell. The text
// after the last tab is a field only when it is not empty.
std::vector<std::string> SplitAtTabs(const std::string& line)
{
    return CTabSplitter().DropEmptyLastField().Split(line);
}

bool IsBlank(const std::string& field)
{
    return field.find_first_not_of(" \t") == std::string::npos;
}

// A header line has a non-empty field that is not a number.
bool IsHeader(const std::vector<std::string>& fields)
{
    for (const std::string& f : fields) {
        double v = 0.0;
        if (!IsBlank(f) && !CClipboardText::ParseValue(f, v))
            return true;
    }
    return false;
}
} // namespace

CSwAxisTableCore::CSwAxisTableCore() : CZuTableData("", nullptr, -1) {}

CSwAxisTableCore::~CSwAxisTableCore() = default;

void CSwAxisTableCore::SetRpmSelFunc(CZuRpmSelFunc* function, int viewType)
{
    m_function = function;
    SetName(function ? function->GetName() : std::string());
    SetViewType(viewType);
}

int CSwAxisTableCore::GetProjectType() const
{
    IAnalysisProjectAccess* project = IAnalysisProjectAccess::FindOwner(m_function);
    return project ? project->GetProjectType() : 0;
}

void CSwAxisTableCore::SetViewType(int viewType)
{
    // An analysis by order has the RPM axis only.
    m_viewType = viewType == VIEW_BY_POINT && GetProjectType() == 0 ? VIEW_BY_POINT : VIEW_BY_FIRST;
    m_first = 0;
    ClearUndoBuffer();
}

CZuFuncElement* CSwAxisTableCore::Entry(int e) const
{
    if (!m_function)
        return nullptr;
    // The SPL by RPM holds one plain function (the target's level) per RPM.
    CZuTableData* entry = m_function->GetRpmData(e);
    if (auto* vec = dynamic_cast<CZuVecFunc*>(entry))
        return vec;
    return dynamic_cast<CZuFunc*>(entry);
}

int CSwAxisTableCore::ColumnCount(const CZuFuncElement* f)
{
    if (const auto* vec = dynamic_cast<const CZuVecFunc*>(f))
        return vec->GetSubsystemCount();
    return f ? 1 : 0;
}

double& CSwAxisTableCore::Stored(CZuFuncElement& f, int i, int k)
{
    if (auto* vec = dynamic_cast<CZuVecFunc*>(&f))
        return vec->DataValue(i, k);
    return static_cast<CZuFunc&>(f).DataValue(i);
}

double CSwAxisTableCore::Shown(const CZuFuncElement& f, int i, int k)
{
    if (const auto* vec = dynamic_cast<const CZuVecFunc*>(&f))
        return CTableNumbers::ShownValue(*vec, i, k);
    if (i < 0 || i >= f.GetDataCount() || k != 0)
        return std::numeric_limits<double>::quiet_NaN();
    // A plain function holds the numbers it shows; one that could not be had is not finite.
    const double value = static_cast<const CZuFunc&>(f).DataValue(i);
    return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

double CSwAxisTableCore::ToStored(const CZuFuncElement& f, double shown)
{
    if (const auto* vec = dynamic_cast<const CZuVecFunc*>(&f))
        return CTableNumbers::StoredValue(*vec, shown);
    return shown;
}

int CSwAxisTableCore::Get1stIndexCount() const
{
    if (!m_function)
        return 0;
    if (m_viewType == VIEW_BY_FIRST)
        return m_function->GetRpmCount();
    const CZuFuncElement* first = Entry(0);
    return first ? first->GetDataCount() : 0;
}

double CSwAxisTableCore::Get1stIndex(int i) const
{
    if (i < 0 || i >= Get1stIndexCount())
        return 0.0;
    return m_viewType == VIEW_BY_FIRST ? m_function->GetRpm(i) : Entry(0)->DataIndex(i);
}

void CSwAxisTableCore::SetCurSel1stIndex(int i)
{
    if (i >= 0 && i < Get1stIndexCount())
        m_first = i;
}

int CSwAxisTableCore::Get2ndIndexCount() const
{
    return Get2ndIndexCountAt(m_first);
}

int CSwAxisTableCore::Get2ndIndexCountAt(int first) const
{
    if (!m_function)
        return 0;
    if (m_viewType == VIEW_BY_POINT)
        return m_function->GetRpmCount();
    const CZuFuncElement* entry = Entry(first);
    return entry ? entry->GetDataCount() : 0;
}

double CSwAxisTableCore::Get2ndIndex(int i) const
{
    if (i < 0 || i >= Get2ndIndexCount())
        return 0.0;
    return m_viewType == VIEW_BY_POINT ? m_function->GetRpm(i) : Entry(m_first)->DataIndex(i);
}

std::string CSwAxisTableCore::Get2ndIndexAsString(int i) const
{
    return i < 0 ? std::string() : CellText(m_first, i + 1, 0, 0);
}

int CSwAxisTableCore::GetSubsetCount() const
{
    return ColumnCount(Entry(0));
}

std::string CSwAxisTableCore::GetSubsetName(int j) const
{
    CZuFuncElement* first = Entry(0);
    if (!first || j < 0 || j >= ColumnCount(first))
        return std::string();
    // The function's own column header (a subsystem or an order).
    return first->GetTableCellData(0, j + 1, 0, 0);
}

CZuFuncElement* CSwAxisTableCore::Cell(int first, int i, int& point) const
{
    if (i < 0 || i >= Get2ndIndexCountAt(first))
        return nullptr;
    CZuFuncElement* f = m_viewType == VIEW_BY_POINT ? Entry(i) : Entry(first);
    point = m_viewType == VIEW_BY_POINT ? first : i;
    return f && point >= 0 && point < f->GetDataCount() ? f : nullptr;
}

double CSwAxisTableCore::GetValueAt(int first, int i, int j) const
{
    int point = 0;
    const CZuFuncElement* f = Cell(first, i, point);
    return f ? Shown(*f, point, j) : std::numeric_limits<double>::quiet_NaN();
}

std::string CSwAxisTableCore::ValueText(int first, int i, int j, int decimals) const
{
    int point = 0;
    CZuFuncElement* f = Cell(first, i, point);
    if (!f || j < 0 || j >= ColumnCount(f))
        return std::string();
    return f->GetTableCellData(point + 1, j + 1, 0, decimals);
}

COLORREF CSwAxisTableCore::GetCellColor(int i, int j) const
{
    int point = 0;
    CZuFuncElement* f = Cell(m_first, i, point);
    return f ? f->GetTableCellColor(point + 1, j + 1, 0) : 0;
}

std::string CSwAxisTableCore::GetGraphTitle() const
{
    return m_function ? m_function->GetName() : std::string();
}

std::string CSwAxisTableCore::GetGraphSubTitle() const
{
    if (Get1stIndexCount() == 0)
        return std::string();
    return GetFirstIndexLabel() + " " + FirstIndexText(m_first);
}

int CSwAxisTableCore::GetTableDataType() const
{
    const CZuFuncElement* first = Entry(0);
    return first ? first->GetTableDataType() : -1;
}

bool CSwAxisTableCore::IsCharted() const
{
    const CZuFuncElement* first = Entry(0);
    return CTableNumbers::IsChartable(first) || dynamic_cast<const CZuFunc*>(first);
}

std::vector<std::string> CSwAxisTableCore::GetAxisChoices() const
{
    if (GetProjectType() == 1)
        return {"RPM"};
    return {"Freq. [Hz]", "RPM"};
}

std::string CSwAxisTableCore::GetFirstIndexLabel() const
{
    if (GetProjectType() == 1)
        return "Order :";
    return m_viewType == VIEW_BY_FIRST ? "RPM :" : "Freq :";
}

std::vector<std::pair<std::string, int>> CSwAxisTableCore::GetFirstIndexChoices() const
{
    std::vector<std::pair<std::string, int>> choices;
    for (int i = 0; i < Get1stIndexCount(); ++i)
        choices.emplace_back(FirstIndexText(i), i);
    return choices;
}

std::string CSwAxisTableCore::CellText(int first, int row, int col, int decimals) const
{
    if (row < 0 || col < 0 || row > Get2ndIndexCountAt(first) || col >= GetColCount())
        return std::string();
    if (row == 0)
        return col == 0 ? GetGraphTitle() : GetSubsetName(col - 1);
    if (col == 0) {
        // RPMs and orders as they are; frequencies by their nominal band names.
        if (m_viewType == VIEW_BY_POINT)
            return Format("%g", m_function->GetRpm(row - 1));
        const double x = Entry(first)->DataIndex(row - 1);
        return GetProjectType() == 1 ? Format("%g", x) : CGfxUtil::GetManipulatedFrequencyString(x);
    }
    return ValueText(first, row - 1, col - 1, decimals);
}

int CSwAxisTableCore::GetDecimalPlaces() const
{
    return m_options ? m_options->HSS_DecimalPlaces : 2;
}

int CSwAxisTableCore::GetCellWidth() const
{
    return m_options ? std::max(m_options->HSS_TableCellWidth, 1) : 10;
}

// The values drawn and shown are in dB or linear as the function's project says; the axis label
// and scale follow that same answer (the window's options only without such a project).
int CSwAxisTableCore::ShowInDB() const
{
    if (const CZuFuncElement* first = Entry(0); first && ISpectrumDisplayOptions::FindOwner(first))
        return SpectrumShowInDB(first);
    return m_options ? m_options->HSS_ShowDataInDB : 1;
}

std::string CSwAxisTableCore::GetAxisLabel() const
{
    if (GetProjectType() == 1)
        return TranslateText("RPM");
    return TranslateText(m_viewType == VIEW_BY_FIRST ? "Freq. [Hz]" : "RPM");
}

std::string CSwAxisTableCore::GetUnitLabel() const
{
    const CZuFuncElement* first = Entry(0);
    if (!first)
        return std::string();
    int aWeighted = m_options && m_options->WeightingFilter == 1 ? 1 : 0;
    if (ISpectrumDisplayOptions::FindOwner(first))
        aWeighted = SpectrumAWeighting(first);
    return GetShownQuantityAxisTitle(first, ShowInDB(), 0, aWeighted);
}

CTableChartData CSwAxisTableCore::BuildChart() const
{
    CTableChartData chart;
    chart.title = GetGraphTitle();
    chart.subtitle = GetGraphSubTitle();
    chart.xLabel = GetAxisLabel();
    chart.yLabel = GetUnitLabel();
    chart.xLog = chart.xLabel == "Freq. [Hz]";
    const CZuFuncElement* first = Entry(0);
    const int type = first ? first->GetType() : 0;
    chart.yLog = ShowInDB() == 0 && type != ElementType::VibrationLevel && type != ElementType::Spl;
    const int points = Get2ndIndexCount();
    for (int j = 0; j < GetSubsetCount(); ++j) {
        CTableChartSubset subset;
        subset.name = GetSubsetName(j);
        for (int i = 0; i < points; ++i) {
            subset.x.push_back(Get2ndIndex(i));
            subset.y.push_back(GetValue(i, j));
        }
        chart.subsets.push_back(std::move(subset));
    }
    chart.noLegend = static_cast<int>(chart.subsets.size()) > CTableChartData::kFullLegendSubsets;
    chart.SetLogRanges();
    return chart;
}

std::string CSwAxisTableCore::Copy(int first, const CZuCellRect* cells, int withHeaders) const
{
    int top = 1, left = 1, bottom = Get2ndIndexCountAt(first), right = GetSubsetCount();
    if (cells) {
        top = std::max(top, std::min(cells->top, cells->bottom));
        bottom = std::min(bottom, std::max(cells->top, cells->bottom));
        left = std::max(left, std::min(cells->left, cells->right));
        right = std::min(right, std::max(cells->left, cells->right));
    }
    std::string text;
    if (withHeaders) {
        text = GetGraphTitle();
        for (int c = left; c <= right; ++c)
            text += "\t" + GetSubsetName(c - 1);
        text += "\r\n";
    }
    for (int r = top; r <= bottom; ++r) {
        std::string line;
        if (withHeaders)
            line = CellText(first, r, 0, 0) + "\t";
        for (int c = left; c <= right; ++c) {
            if (c > left)
                line += "\t";
            line += ValueText(first, r - 1, c - 1, kCopyDigits);
        }
        text += line + "\r\n";
    }
    return text;
}

void CSwAxisTableCore::PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point)
{
    const int row = point ? point->y : 1, col = point ? point->x : 1;
    if (row < 1 || col < 1 || !CanChangeValues())
        return;
    std::vector<std::string> lines;
    for (std::string line; ar.ReadLine(line);)
        lines.push_back(line);
    bool labelled = false;
    size_t l = 0;
    if (!lines.empty() && IsHeader(SplitAtTabs(lines[0]))) {
        labelled = true;
        l = 1;
    }
    int i = row - 1;
    for (; l < lines.size(); ++l) {
        if (lines[l].empty())
            continue; // a line without fields is no row
        if (i >= Get2ndIndexCountAt(index))
            break;
        const std::vector<std::string> fields = SplitAtTabs(lines[l]);
        int p = 0;
        CZuFuncElement* f = Cell(index, i, p);
        for (size_t k = labelled ? 1 : 0, j = static_cast<size_t>(col - 1); f && k < fields.size(); ++k, ++j) {
            if (static_cast<int>(j) >= ColumnCount(f))
                break;
            double shown = 0.0;
            if (IsBlank(fields[k]) || !CClipboardText::ParseValue(fields[k], shown))
                continue; // the cell keeps its value; the next field goes to the next cell
            ChangeDataValue(i, static_cast<int>(j), index, ToStored(*f, shown), 1);
        }
        ++i;
    }
}

void CSwAxisTableCore::ChangeDataValue(int row, int col, int index, double value, int flag)
{
    int point = 0;
    CZuFuncElement* f = Cell(index, row, point);
    if (!f || col < 0 || col >= ColumnCount(f))
        return;
    double& cell = Stored(*f, point, col);
    if (flag)
        PushUndo(row, col, index, cell);
    cell = value;
}

COLORREF CSwAxisTableCore::GetTableCellColor(int row, int col, int index)
{
    int point = 0;
    CZuFuncElement* f = Cell(index, row - 1, point);
    return f ? f->GetTableCellColor(point + 1, col, 0) : 0;
}

void CSwAxisTableCore::CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection)
{
    ar.WriteText(Copy(index, selection, withLabels));
}

std::string CSwAxisTableCore::GetTableCellData(int row, int col, int index, int numberFormat)
{
    return CellText(index, row, col, numberFormat);
}

int CSwAxisTableCore::GetTableRowCount(int index)
{
    return Get2ndIndexCountAt(index) + 1;
}

int CSwAxisTableCore::GetTableColCount(int)
{
    return GetSubsetCount() + 1;
}

std::string CSwAxisTableCore::GetFreqIndicator(int index)
{
    return FirstIndexText(index);
}

int CSwAxisTableCore::CanChangeValues() const
{
    const CZuFuncElement* first = Entry(0);
    return first ? first->CanChangeValues() : 0;
}

std::string CSwAxisTableCore::FirstIndexText(int index) const
{
    if (index < 0 || index >= Get1stIndexCount())
        return std::string();
    // Frequencies by their nominal band names, RPMs and orders as they are.
    if (m_viewType == VIEW_BY_POINT)
        return CGfxUtil::GetManipulatedFrequencyString(Get1stIndex(index));
    return Format("%g", Get1stIndex(index));
}
