#include "views/ui/DlgCompSplBySingleIP.h"

#include "app/AnalysisProject.h"
#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "platform/base/Format.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelData.h"
#include "platform/ui/FlexGridEx.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/CavPcViewData.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/StackedChart.h"
#include "views/ui/AxisChoiceBox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
CTALVOProject* Container(CAnalysisProject* project)
{
    return project ? project->GetOwner() : nullptr;
}

bool IsStructureIn(CAnalysisProject* project, const std::string& name)
{
    CTALVOProject* container = Container(project);
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    return container && container->IsStructure(plain) == 1;
}
} // namespace

CDlgCompSplBySingleIP* CDlgCompSplBySingleIP::CreateInstance(CAnalysisProject* project, QWidget* parent)
{
    return Instances().RegisterNew(project, [&] { return new CDlgCompSplBySingleIP(project, parent); });
}

CDlgCompSplBySingleIP* CDlgCompSplBySingleIP::Open(CAnalysisProject* project, const std::string& target,
                                                   const CZuRpmMultiVecFunc* splTable, QWidget* parent)
{
    if (!project)
        return nullptr;
    return Instances().ShowFor(project, [&]() -> CDlgCompSplBySingleIP* {
        if (!splTable)
            return nullptr;
        auto* dialog = new CDlgCompSplBySingleIP(project, parent);
        dialog->SetTargetSubsystem(target);
        // The comparison adds energies: the levels of the table become the cavity's energies.
        dialog->AdoptTable(CSplBySingleIPData::EnergiesFromSpl(*splTable, dialog->m_volume));
        dialog->Create();
        return dialog;
    });
}

CDlgCompSplBySingleIP* CDlgCompSplBySingleIP::OpenEnergies(CAnalysisProject* project, const std::string& target,
                                                           std::unique_ptr<CZuRpmMultiVecFunc> energies,
                                                           QWidget* parent)
{
    if (!project)
        return nullptr;
    return Instances().ShowFor(project, [&]() -> CDlgCompSplBySingleIP* {
        if (!energies)
            return nullptr;
        auto* dialog = new CDlgCompSplBySingleIP(project, parent);
        dialog->SetTargetSubsystem(target);
        dialog->AdoptTable(std::move(energies));
        dialog->Create();
        return dialog;
    });
}

CDlgCompSplBySingleIP::CDlgCompSplBySingleIP(CAnalysisProject* project, QWidget* parent)
    : CZuDialog(parent, IDD), m_project(project)
{
    setWindowTitle(tr("SPL Comparison by Single Input Power"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    auto* charts = new QWidget(splitter);
    auto* chartLayout = new QVBoxLayout(charts);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    m_stacked = new CStackedChart(charts);
    m_stacked->setObjectName("stackedChart");
    m_line = new CZuChart(charts);
    m_line->setObjectName("lineChart");
    m_line->hide();
    chartLayout->addWidget(m_stacked);
    chartLayout->addWidget(m_line);
    m_grid = new CFlexGridEx(splitter);
    m_grid->setObjectName("grid");
    splitter->addWidget(charts);
    splitter->addWidget(m_grid);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);

    m_hover = new QLabel(this);
    m_hover->setObjectName("hover");
    m_hover->setMinimumWidth(200);
    layout->addWidget(m_hover);

    auto* row = new QHBoxLayout;
    auto* viewBox = new QGroupBox(tr("View"), this);
    auto* viewRow = new QHBoxLayout(viewBox);
    auto* views = new QButtonGroup(this);
    const char* viewTexts[] = {"Level share", "Percent share", "Levels"};
    for (int v = 0; v < 3; ++v) {
        m_viewRadio[v] = new QRadioButton(tr(viewTexts[v]), viewBox);
        views->addButton(m_viewRadio[v], v);
        viewRow->addWidget(m_viewRadio[v]);
    }
    m_viewRadio[0]->setChecked(true);
    connect(views, &QButtonGroup::idClicked, this, [this](int v) { SetView(v); });
    auto* axisBox = AxisChoiceBox(this, m_axisRadio, [this](int a) { SetAxis(a); });
    m_list = new QComboBox(this);
    m_list->setObjectName("positions");
    m_list->setMinimumWidth(120);
    connect(m_list, &QComboBox::activated, this, [this](int i) { SelectPosition(i); });
    m_clear = new QPushButton(tr("Clear Selection"), this);
    connect(m_clear, &QPushButton::clicked, this, [this] { ClearSelection(); });
    m_pick = new QPushButton(tr("Select..."), this);
    connect(m_pick, &QPushButton::clicked, this, [this] { OnPickRow(); });
    row->addWidget(viewBox);
    row->addWidget(axisBox);
    row->addWidget(m_list);
    row->addStretch(1);
    row->addWidget(m_pick);
    row->addWidget(m_clear);
    layout->addLayout(row);

    m_stacked->setMouseTracking(true);
    m_stacked->installEventFilter(this);
    m_grid->installEventFilter(this);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { SelectRow(section); });
    connect(m_line, &QCustomPlot::plottableClick, this, [this](QCPAbstractPlottable* plottable, int, QMouseEvent*) {
        const QVariant row = plottable->property("row");
        if (row.isValid())
            SelectRow(row.toInt());
    });
    resize(900, 680);
}

CDlgCompSplBySingleIP::~CDlgCompSplBySingleIP() = default;

void CDlgCompSplBySingleIP::SetTargetSubsystem(const std::string& name)
{
    m_target = name;
    m_volume = 0.0;
    CTALVOProject* container = Container(m_project);
    CModelProject* model = container ? container->GetModelProject() : nullptr;
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    // A model without the subsystem says so (a model project without model data says that itself).
    if (CModelData* data = model ? model->GetModelData(1, &*CStatusBarFallback(nullptr)) : nullptr) {
        CModelSubsystem* subsystem = data->GetSubsystem(plain, 0, 0);
        if (!subsystem)
            CGfxUtil::WarningBox(Format("The subsystem \"%s\" is not in the model.", plain.c_str()));
        else if (auto* cavity = dynamic_cast<CModelCavity*>(subsystem))
            m_volume = cavity->GetVolume();
    }
    m_data.SetVolume(m_volume);
}

void CDlgCompSplBySingleIP::AdoptTable(std::unique_ptr<CZuRpmMultiVecFunc> energies)
{
    m_ownTable = std::move(energies);
    m_table = m_ownTable.get();
}

CMSFlexGrid* CDlgCompSplBySingleIP::Grid() const
{
    return m_grid;
}

bool CDlgCompSplBySingleIP::OnInitDialog()
{
    m_data.SetTable(m_table, [this](const std::string& n) { return IsStructureIn(m_project, n); });
    m_data.SetVolume(m_volume);
    if (!m_table || m_data.GetRpmCount() == 0) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{m_list, m_stacked, m_line, m_grid, m_axisRadio[0], m_axisRadio[1]})
            w->setEnabled(false);
        return true;
    }
    m_splView = static_cast<int>(GetRegOptionByStringId(IDS_SPL_PER_CONTRIBUTOR));
    // The sources keep the colours of the stacked chart in the line chart.
    std::vector<bool> saturated;
    for (int i = 0; i < m_data.GetSourceCount(); ++i)
        saturated.push_back(m_data.Rows()[static_cast<size_t>(i)].structure);
    const std::vector<COLORREF> colors = CCavPcViewData::MakeColors(saturated, false);
    for (int i = 0; i < m_data.GetSourceCount(); ++i)
        m_data.Rows()[static_cast<size_t>(i)].baseColor = colors[static_cast<size_t>(i)];
    FillList();
    m_data.Compute(m_axis, 0);
    FillGrid();
    Draw();
    m_viewRadio[2]->setVisible(m_splView != 0);
    m_viewRadio[2]->setEnabled(m_splView != 0);
    m_clear->setVisible(m_splView != 0);
    m_clear->setEnabled(false);
    return true;
}

void CDlgCompSplBySingleIP::FillList()
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    const std::vector<double>& values = m_axis == 0 ? m_data.GetRpms() : m_data.GetFreqs();
    for (size_t i = 0; i < values.size(); ++i)
        m_list->addItem(QString::fromStdString(Format("%g", values[i])), static_cast<int>(i));
    if (m_list->count() > 0)
        m_list->setCurrentIndex(0);
}

void CDlgCompSplBySingleIP::SetView(int view)
{
    if (view == 2 && !m_splView)
        return;
    m_view = view;
    m_viewRadio[view]->setChecked(true);
    m_data.ClearSelection();
    m_stacked->setVisible(view != 2);
    m_line->setVisible(view == 2);
    m_clear->setEnabled(view == 2);
    FillGrid();
    Draw();
}

void CDlgCompSplBySingleIP::SetAxis(int axis)
{
    m_axis = axis == 1 ? 1 : 0;
    m_axisRadio[m_axis]->setChecked(true);
    FillList();
    m_data.Compute(m_axis, 0);
    FillGrid();
    Draw();
    const auto& selection = m_data.GetSelection();
    SelectGridColumn(selection.empty() ? -1 : selection.back());
}

void CDlgCompSplBySingleIP::SelectPosition(int index)
{
    if (index < 0 || index >= m_list->count())
        return;
    m_list->setCurrentIndex(index);
    m_data.Compute(m_axis, m_list->itemData(index).toInt());
    FillGrid();
    Draw();
}

void CDlgCompSplBySingleIP::SelectRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_data.Rows().size()))
        return;
    m_data.Select(row);
    FillGrid();
    Draw();
    SelectGridColumn(row);
}

void CDlgCompSplBySingleIP::ClearSelection()
{
    m_data.ClearSelection();
    FillGrid();
    Draw();
    SelectGridColumn(-1);
}

void CDlgCompSplBySingleIP::OnPickRow()
{
    std::vector<std::string> names;
    for (const auto& row : m_data.Rows())
        names.push_back(row.name);
    const int row = CDlgSelectSubsystem::PickName(this, names);
    if (row >= 0)
        SelectRow(row);
}

void CDlgCompSplBySingleIP::SelectGridColumn(int row)
{
    SelectDataColumn(*m_grid, row);
}

void CDlgCompSplBySingleIP::SelectDataColumn(CMSFlexGrid& grid, int row)
{
    if (row < 0 || grid.GetRows() < 2) {
        grid.clearSelection();
        return;
    }
    grid.SelectCells(1, row + 1, grid.GetRows() - 1, row + 1);
}

void CDlgCompSplBySingleIP::FillAxisColumn(CMSFlexGrid& grid, const std::vector<double>& x, int axis, int dataCols)
{
    grid.Clear();
    grid.SetRows(static_cast<int>(x.size()) + 1);
    grid.SetCols(dataCols + 1);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    grid.SetColWidth(0, 70);
    grid.SetTextMatrix(0, 0, axis == 0 ? "Freq. [Hz]" : "RPM");
    for (size_t k = 0; k < x.size(); ++k)
        grid.SetTextMatrix(static_cast<int>(k) + 1, 0, Format("%g", x[k]));
}

void CDlgCompSplBySingleIP::FillGrid()
{
    const auto& rows = m_data.Rows();
    const std::vector<double>& x = m_data.GetX(m_axis);
    FillAxisColumn(*m_grid, x, m_axis, static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const int col = static_cast<int>(i) + 1;
        m_grid->SetTextMatrix(0, col, rows[i].name);
        m_grid->SetColWidth(col, std::max(80, 8 * static_cast<int>(std::min<size_t>(rows[i].name.size(), 30))));
        m_grid->setColumnHidden(col - m_grid->GetFixedCols(), rows[i].shown == 0);
        if (!rows[i].shown)
            continue;
        for (size_t k = 0; k < rows[i].values.size() && k < x.size(); ++k) {
            const double level = m_data.Level(rows[i].values[k]);
            m_grid->SetTextMatrix(static_cast<int>(k) + 1, col,
                                  level <= CSplBySingleIPData::kNoLevel ? "---" : CGfxUtil::GenFormat(level, 2));
        }
    }
}

void CDlgCompSplBySingleIP::DrawLevelLines(CZuChart& chart, const std::vector<double>& x, int axis,
                                           const std::vector<CLine>& lines, const std::string& title)
{
    chart.ClearChart();
    QVector<double> keys(x.begin(), x.end());
    double low = std::numeric_limits<double>::max(), high = -low;
    for (const CLine& line : lines) {
        QVector<double> y;
        for (double v : line.levels) {
            const bool none = !std::isfinite(v) || v <= CSplBySingleIPData::kNoLevel;
            y << (none ? std::numeric_limits<double>::quiet_NaN() : v);
            if (!none) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        QCPGraph* g = chart.addGraph();
        g->setName(QString::fromStdString(line.name));
        g->setData(keys, y, true);
        const QColor color(GetRValue(line.color), GetGValue(line.color), GetBValue(line.color));
        QPen pen(color, line.style == 6 ? 2.5 : 1.5);
        if (line.style == 2)
            pen.setStyle(Qt::DashLine);
        g->setPen(pen);
        g->setProperty("row", static_cast<int>(&line - lines.data()));
    }
    chart.SetTitle(QString::fromStdString(title));
    chart.xAxis->setLabel(axis == 1 ? QStringLiteral("RPM") : QStringLiteral("Freq. [Hz]"));
    chart.yAxis->setLabel(QStringLiteral("SPL [dB]"));
    if (axis == 0 && !keys.isEmpty() && keys.front() > 0.0)
        CZuChart::SetLogAxis(chart.xAxis, std::pow(10.0, std::floor(std::log10(keys.front()))),
                             std::pow(10.0, std::ceil(std::log10(keys.back()))));
    else if (!keys.isEmpty())
        chart.xAxis->setRange(keys.front(), keys.back() > keys.front() ? keys.back() : keys.front() + 1.0);
    if (high >= low)
        chart.yAxis->setRange(10.0 * std::floor(low / 10.0),
                              10.0 * std::ceil(high / 10.0) + (high == low ? 10.0 : 0.0));
    CZuChart::PlaceLegendBelow(chart);
    chart.legend->setVisible(!lines.empty());
    chart.legend->setFont(QFont(chart.font().family(), 8));
    chart.replot();
}

void CDlgCompSplBySingleIP::Draw()
{
    if (m_view == 2) {
        std::vector<CLine> lines;
        for (const auto& row : m_data.Rows()) {
            CLine line{row.name, {}, row.drawnColor, row.style};
            if (!row.shown)
                line.levels.assign(row.values.size(), HUGE_VAL);
            else
                for (double e : row.values)
                    line.levels.push_back(m_data.Level(e));
            lines.push_back(std::move(line));
        }
        DrawLevelLines(*m_line, m_data.GetX(m_axis), m_axis, lines, m_target);
        return;
    }
    const bool cumulative = GetRegOptionByStringId(IDS_CUMULATIVE_CHARTS) != 0;
    std::vector<std::string> names;
    std::vector<bool> saturated;
    for (int i = 0; i < m_data.GetSourceCount(); ++i) {
        names.push_back(m_data.Rows()[static_cast<size_t>(i)].name);
        saturated.push_back(m_data.Rows()[static_cast<size_t>(i)].structure);
    }
    m_stacked->ClearChart();
    m_stacked->SetTitle(QStringLiteral(" "));
    m_stacked->xAxis->setLabel(m_axis == 1 ? QStringLiteral("RPM") : QStringLiteral("Freq. [Hz]"));
    m_stacked->yAxis->setLabel(m_view != 0 ? QStringLiteral("SPL [%]") : QStringLiteral("SPL [dB]"));
    m_stacked->Draw(m_data.GetX(m_axis), m_data.StackedCells(m_view), names,
                    CCavPcViewData::MakeColors(saturated, cumulative), cumulative, -1);
}

int CDlgCompSplBySingleIP::HitSource(double x, double y) const
{
    return CCavPcViewData::HitTest(m_data.StackedCells(m_view), x, y);
}

bool CDlgCompSplBySingleIP::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_stacked && (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress)) {
        double x = 0.0, y = 0.0;
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        const int hit = m_stacked->DataPosition(pos, x, y) ? HitSource(x, y) : -1;
        if (event->type() == QEvent::MouseMove)
            m_hover->setText(hit >= 0 ? QString::fromStdString(m_data.Rows()[static_cast<size_t>(hit)].name)
                                      : QString());
        else if (hit >= 0)
            SelectGridColumn(hit);
    }
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        CopyGrid();
        return true;
    }
    return CZuDialog::eventFilter(watched, event);
}

void CDlgCompSplBySingleIP::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopyGrid();
        return;
    }
    CZuDialog::keyPressEvent(event);
}

std::string CDlgCompSplBySingleIP::GridText() const
{
    return TabText(*m_grid);
}

std::string CDlgCompSplBySingleIP::TabText(const CMSFlexGrid& grid)
{
    std::string text;
    for (int r = 0; r < grid.GetRows(); ++r) {
        for (int c = 0; c < grid.GetCols(); ++c)
            text += grid.GetTextMatrix(r, c) + "\t";
        text += "\r\n";
    }
    return text;
}

bool CDlgCompSplBySingleIP::CopyGrid()
{
    return CopyText(GridText());
}

bool CDlgCompSplBySingleIP::CopyText(const std::string& text)
{
    if (SetClipboardText(text))
        return true;
    AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN);
    return false;
}
