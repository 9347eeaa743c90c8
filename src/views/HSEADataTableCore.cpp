#include "views/HSEADataTableCore.h"

#include "views/ExpDataTable.h"

#include "calculation/AnalysisProjectAccess.h"
#include "common/Quantity.h"
#include "models/HSEADominantPathData.h"
#include "models/HSEAOptions.h"
#include "models/HSEAPowerContribution.h"
#include "platform/base/Format.h"
#include "platform/elements/ShownElementName.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/StringTable.h"
#include "platform/modeldb/3DModelDoc.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/TableNumbers.h"

#include <algorithm>

namespace {
// Tables that list their bands whatever their data type.
bool ListsBandsAlways(const CZuTableData* table)
{
    const std::string& name = table->GetName();
    return name == "Error Report" || name == "Normalized Modal Energy Comparison";
}

// Element types whose values are levels already (shown on a linear scale) and whose rows are RPMs.
bool IsLevelElement(int type)
{
    return type == ElementType::VibrationLevel || type == ElementType::Spl || type == ElementType::OrderFrequencies;
}
// The subsystem whose units a table's values are in: its own label, else that of the function
// over RPM whose entry it is.
std::string SubsystemOfTable(const CZuTableData* table)
{
    std::string label = CTableNumbers::SubsystemLabel(table);
    if (!label.empty() || !table)
        return label;
    if (const auto* multi = dynamic_cast<const CZuRpmMultiVecFunc*>(table->GetParent()))
        return multi->GetLabel();
    if (const auto* map = dynamic_cast<const CZuRpmFunc*>(table->GetParent()))
        return map->GetSubsystem();
    return label;
}

// A plain vector's cells show its stored numbers, and so do a function's over the bands (a
// subsystem's energy in J, an energy ratio); the multi-vector functions show theirs in the units
// of their project (dB or linear).
bool CellsShowStoredValues(const CZuTableData* table)
{
    const bool plain = (dynamic_cast<const CZuVecFunc*>(table) && !dynamic_cast<const CMultiVectorFunction*>(table)) ||
                       dynamic_cast<const CZuFunc*>(table);
    return plain && !IsLevelElement(table->GetType());
}

// Rows over RPM: the order maps and the per-order functions of an analysis by order; the
// functions of an analysis by RPM have a row per band.
bool HasRpmRows(const CZuTableData* table)
{
    const int type = table->GetType();
    if (type == ElementType::DataCheck)
        return false;
    if (type == ElementType::OrderLevels || type == ElementType::OrderFrequencies ||
        dynamic_cast<const CZuOTFunc*>(table) || dynamic_cast<const COTMultiVecFunc*>(table))
        return true;
    if (!dynamic_cast<const CMultiVectorFunction*>(table))
        return false;
    const IAnalysisProjectAccess* project = IAnalysisProjectAccess::FindOwner(const_cast<CZuTableData*>(table));
    return project && project->GetProjectType() == 1;
}
} // namespace

void CHSEADataTableCore::SetElement(CZuTableData* element)
{
    m_element = element;
    auto* selector = dynamic_cast<CZuRpmSelFunc*>(element);
    CZuTableData* first = selector ? selector->GetRpmData(0) : nullptr;
    m_table = first ? first : element;
    m_band = 0;
}

void CHSEADataTableCore::SetTableData(CZuTableData* table)
{
    m_table = table;
    if (!m_table || m_band >= std::max(m_table->GetTableFreqCount(), 1))
        m_band = 0;
}

void CHSEADataTableCore::SetFrequencyIndex(int band)
{
    if (m_table && band >= 0 && band < std::max(m_table->GetTableFreqCount(), 1))
        m_band = band;
}

// The cells of a table below a project show dB or linear values as that project says; the chart
// is drawn from those cells, so its axis label and scale must follow the same answer or a linear
// curve gets a dB label. Only a table without such an owner follows the window's options.
int CHSEADataTableCore::ShowInDB() const
{
    if (ISpectrumDisplayOptions::FindOwner(m_table))
        return SpectrumShowInDB(m_table);
    return m_options ? m_options->HSS_ShowDataInDB : 1;
}

int CHSEADataTableCore::AWeighting() const
{
    if (ISpectrumDisplayOptions::FindOwner(m_table))
        return SpectrumAWeighting(m_table);
    return m_options && m_options->WeightingFilter == 1 ? 1 : 0;
}

bool CHSEADataTableCore::ShowsBandList() const
{
    return m_table && (ListsBandsAlways(m_table) || m_table->GetTableDataType() == CZuTableData::TABLE_BY_INDEX);
}

bool CHSEADataTableCore::ShowsChart() const
{
    // Tables of values per band and subsystem chart their columns; tables of one band at a time
    // (matrices, contributions) have nothing to draw over.
    if (!m_table || !CTableNumbers::IsChartable(m_table))
        return false;
    return ListsBandsAlways(m_table) || m_table->GetTableDataType() != CZuTableData::TABLE_BY_INDEX;
}

std::vector<std::string> CHSEADataTableCore::GetBandLabels() const
{
    std::vector<std::string> labels;
    if (!m_table)
        return labels;
    const int n = m_table->GetTableFreqCount();
    for (int i = 0; i < n; ++i)
        labels.push_back(m_table->GetFreqIndicator(i));
    return labels;
}

std::string CHSEADataTableCore::GetSelectorLabel() const
{
    return m_orderTracking ? "Order :" : "RPM :";
}

CZuRpmSelFunc* CHSEADataTableCore::GetRpmSelector() const
{
    if (auto* own = dynamic_cast<CZuRpmSelFunc*>(m_element); own && own->GetRpmCount() > 0)
        return own;
    return m_table ? dynamic_cast<CZuRpmSelFunc*>(m_table->GetParent()) : nullptr;
}

std::vector<std::pair<std::string, int>> CHSEADataTableCore::GetRpmChoices() const
{
    std::vector<std::pair<std::string, int>> choices;
    if (CZuRpmSelFunc* selector = GetRpmSelector())
        for (int i = 0; i < selector->GetRpmCount(); ++i)
            choices.emplace_back(Format("%g", selector->GetRpm(i)), i);
    return choices;
}

bool CHSEADataTableCore::SelectRpm(int i)
{
    CZuRpmSelFunc* selector = GetRpmSelector();
    CZuTableData* table = selector ? selector->GetRpmData(i) : nullptr;
    if (!table)
        return false;
    SetTableData(table);
    return true;
}

int CHSEADataTableCore::GetSelectedRpm() const
{
    if (CZuRpmSelFunc* selector = GetRpmSelector())
        for (int i = 0; i < selector->GetRpmCount(); ++i)
            if (selector->GetRpmData(i) == m_table)
                return i;
    return -1;
}

int CHSEADataTableCore::GetRowCount() const
{
    return m_table ? std::max(m_table->GetTableRowCount(m_band), 0) : 0;
}

int CHSEADataTableCore::GetColCount() const
{
    return m_table ? std::max(m_table->GetTableColCount(m_band), 0) : 0;
}

std::string CHSEADataTableCore::GetCellText(int row, int col) const
{
    return m_table ? m_table->GetTableCellData(row, col, m_band, GetDecimalPlaces()) : std::string();
}

COLORREF CHSEADataTableCore::GetCellColor(int row, int col) const
{
    return m_table ? m_table->GetTableCellColor(row, col, m_band) : 0;
}

int CHSEADataTableCore::GetDecimalPlaces() const
{
    return m_options ? m_options->HSS_DecimalPlaces : 2;
}

int CHSEADataTableCore::GetCellWidth() const
{
    return m_options ? std::max(m_options->HSS_TableCellWidth, 1) : 10;
}

bool CHSEADataTableCore::FitsColumnsToCells() const
{
    // Tables of names beside their powers: a cut name or total row cannot be read.
    return dynamic_cast<const CHSEADominantPathData*>(m_table) != nullptr ||
           dynamic_cast<const CHSEAPowerContribution*>(m_table) != nullptr;
}

bool CHSEADataTableCore::CanEdit() const
{
    return m_table && m_table->CanChangeValues();
}

CHSEADataTableCore::SearchKind CHSEADataTableCore::GetSearchKind() const
{
    if (dynamic_cast<const CZuMatFunc*>(m_table))
        return SEARCH_MATRIX;
    if (dynamic_cast<const CZuVecFunc*>(m_table))
        return SEARCH_VECTOR;
    return SEARCH_NONE;
}

std::vector<std::string> CHSEADataTableCore::GetSearchRowNames() const
{
    std::vector<std::string> names;
    if (const auto* m = dynamic_cast<const CZuMatFunc*>(m_table)) {
        for (int i = 0; i < m->GetRowSubsystemCount(); ++i)
            names.push_back(m->GetRowSubsystem(i));
    } else if (const auto* v = dynamic_cast<const CZuVecFunc*>(m_table)) {
        for (int i = 0; i < v->GetSubsystemCount(); ++i)
            names.push_back(v->GetSubsystem(i));
    }
    return names;
}

std::vector<std::string> CHSEADataTableCore::GetSearchColNames() const
{
    std::vector<std::string> names;
    if (const auto* m = dynamic_cast<const CZuMatFunc*>(m_table))
        for (int i = 0; i < m->GetColSubsystemCount(); ++i)
            names.push_back(m->GetColSubsystem(i));
    return names;
}

bool CHSEADataTableCore::FindMatrixCell(const std::string& rowName, const std::string& colName, int& row,
                                        int& col) const
{
    const auto* m = dynamic_cast<const CZuMatFunc*>(m_table);
    if (!m)
        return false;
    const int r = m->GetRowIndex(rowName), c = m->GetColIndex(colName);
    if (r < 0 || c < 0)
        return false;
    row = r;
    col = c;
    return true;
}

int CHSEADataTableCore::FindVectorColumn(const std::string& name) const
{
    const auto* v = dynamic_cast<const CZuVecFunc*>(m_table);
    return v ? v->GetIndex(name) : -1;
}

std::string CHSEADataTableCore::GetAxisLabel() const
{
    if (const auto* channel = dynamic_cast<const CExpDataTable*>(m_table))
        return channel->GetAxisLabel();
    return TranslateText(m_table && HasRpmRows(m_table) ? "RPM" : "Freq. [Hz]");
}

std::string CHSEADataTableCore::GetUnitLabel() const
{
    if (!m_table)
        return std::string();
    const int type = m_table->GetType();
    int structure = 0;
    if (IsPressureOrVelocityType(type))
        structure = SpectrumIsStructure(m_table, SubsystemOfTable(m_table));
    // A plain vector shows the numbers it stores, whatever its project shows elsewhere; levels are
    // shown as they were calculated, without a weighting.
    const int inDb = CellsShowStoredValues(m_table) ? 0 : ShowInDB();
    const int weighted = inDb && !IsLevelElement(type) ? AWeighting() : 0;
    return GetShownQuantityAxisTitle(m_table, inDb, structure, weighted);
}

CTableChartData CHSEADataTableCore::BuildChart() const
{
    CTableChartData chart;
    if (!m_table)
        return chart;
    const int rows = GetRowCount(), cols = GetColCount();
    chart.xLabel = GetAxisLabel();
    // The corner cell names the table, unless it only names the row axis.
    chart.title = m_table->GetShownTableCell(0, 0, m_band, 0);
    if (chart.title.empty() || chart.title == chart.xLabel)
        chart.title = ShownElementName(m_table->GetName());
    // One entry of a function over RPM (or order) is named by its RPM alone: the title says
    // whose entry it is and which.
    if (CZuRpmSelFunc* selector = GetRpmSelector(); selector && selector != m_table) {
        const int shown = GetSelectedRpm();
        if (shown >= 0)
            chart.title = Format(TranslateText(m_orderTracking ? "%s, Order %g" : "%s, %g RPM").c_str(),
                                 ShownElementName(selector->GetName()).c_str(), selector->GetRpm(shown));
    }
    chart.yLabel = GetUnitLabel();
    chart.xLog = !HasRpmRows(m_table);
    chart.yLog = (CellsShowStoredValues(m_table) || ShowInDB() == 0) && !IsLevelElement(m_table->GetType());
    if (const auto* channel = dynamic_cast<const CExpDataTable*>(m_table)) {
        // A channel's samples over time: signed values on linear axes.
        chart.yLabel = channel->GetUnit();
        chart.xLog = false;
        chart.yLog = false;
    }
    for (int s = 1; s < cols; ++s) {
        CTableChartSubset subset;
        subset.name = m_table->GetTableCellData(0, s, m_band, 0);
        for (int r = 1; r < rows; ++r) {
            double x = 0.0, y = 0.0;
            if (!CTableNumbers::CellNumber(m_table, r, 0, x) || !CTableNumbers::CellNumber(m_table, r, s, y))
                continue;
            subset.x.push_back(x);
            subset.y.push_back(y);
        }
        chart.subsets.push_back(std::move(subset));
    }
    chart.noLegend = static_cast<int>(chart.subsets.size()) > CTableChartData::kFullLegendSubsets;
    chart.SetLogRanges();
    return chart;
}

void CHSEADataTableCore::GetCellSelection(int row, int col, CZuSubsystemTable& names) const
{
    names.Clear();
    if (!m_table)
        return;
    CZuSubsystemTable found;
    m_table->GetSelection(row, col, m_band, &found);
    for (int i = 0; i < found.GetCount(); ++i) {
        std::string name = found[i];
        CGfxUtil::RemoveWaveSign(name);
        names.Add(name);
    }
}

void CHSEADataTableCore::ShowCellInModels(int row, int col) const
{
    if (auto* contribution = dynamic_cast<const CHSEAPowerContribution*>(m_table)) {
        for (C3DModelDoc* model : C3DModelDoc::GetOpenDocuments()) {
            model->SetDefaultColors();
            model->ClearSelection();
            contribution->ColorModelSubsystems(row, col, m_band, model);
            model->UpdateAllViews();
        }
        return;
    }
    CZuSubsystemTable names;
    GetCellSelection(row, col, names);
    C3DModelDoc::SelectInOpenDocuments(names);
}
