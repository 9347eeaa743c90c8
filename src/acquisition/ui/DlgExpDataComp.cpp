#include "acquisition/ui/DlgExpDataComp.h"

#include "platform/ui/UiTextTranslator.h"

#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "experiments/ExpInfo.h"
#include "models/HSEAOptions.h"
#include "models/HSEARegOptions.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/Clipboard.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "acquisition/ui/DlgSelectViewData.h"
#include "platform/win/Messages.h"

#include <QComboBox>
#include <QDateTime>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <cmath>
#include <set>

namespace {
std::string DateText(const CDAQExperiment& data)
{
    const int64_t t = data.GetExpInfo() ? data.GetExpInfo()->GetTime() : 0;
    return QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("MM/dd/yyyy")).toStdString();
}

int64_t TimeOf(const CDAQExperiment& data)
{
    return data.GetExpInfo() ? data.GetExpInfo()->GetTime() : 0;
}

QTableWidgetItem* Cell(const std::string& text)
{
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// Every column as wide as its widest value, whichever rows are in view (the table's own fit
// measures only the rows it shows, and a value cut short reads as another number). A long header
// (a data set's whole label) does not widen its column past the values: it is elided, and its
// tooltip gives it whole.
void FitColumns(QTableWidget& table, int minimum)
{
    const QFontMetrics cells(table.font());
    const QFontMetrics header(table.horizontalHeader()->font());
    const int margin = 2 * table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 12;
    for (int c = 0; c < table.columnCount(); ++c) {
        int width = minimum;
        for (int r = 0; r < table.rowCount(); ++r)
            if (const QTableWidgetItem* item = table.item(r, c))
                width = std::max(width, cells.horizontalAdvance(item->text()) + margin);
        if (QTableWidgetItem* h = table.horizontalHeaderItem(c)) {
            h->setToolTip(h->text());
            // A short header is shown whole.
            width = std::max(width, std::min(header.horizontalAdvance(h->text()) + margin + 8, 2 * width));
        }
        table.setColumnWidth(c, width);
    }
}

const QColor kSeriesColors[] = {QColor(0, 0, 200),   QColor(200, 0, 0),   QColor(0, 140, 0),  QColor(160, 0, 160),
                                QColor(0, 150, 150), QColor(200, 120, 0), QColor(90, 90, 90), QColor(120, 60, 0)};
} // namespace

// ---------------------------------------------------------------------------------------------
// registry

CDlgExpDataComp* CDlgExpDataComp::CreateInstance(const void* key, QWidget* parent)
{
    return Instances().RegisterNew(key, [&] { return new CDlgExpDataComp(parent); });
}

CDlgExpLPDataComp* CDlgExpLPDataComp::CreateInstance(const void* key, QWidget* parent)
{
    return Instances().RegisterNew(key, [&] { return new CDlgExpLPDataComp(parent); });
}

namespace {
template <class Dialog>
int RunModalFor(CDaqProject* owner, CMElement* element, QWidget* parent)
{
    Dialog dialog(parent);
    dialog.SetOwnerID(owner);
    CMElementList experiments;
    if (element)
        experiments.Add(element);
    dialog.SetDataList(experiments);
    return dialog.DoModal();
}
} // namespace

int CDlgExpDataComp::DoModalFor(CDaqProject* owner, CMElement* element, QWidget* parent)
{
    return RunModalFor<CDlgExpDataComp>(owner, element, parent);
}

int CDlgExpLPDataComp::DoModalFor(CDaqProject* owner, CMElement* element, QWidget* parent)
{
    return RunModalFor<CDlgExpLPDataComp>(owner, element, parent);
}

// ---------------------------------------------------------------------------------------------
// construction

CDlgExpDataComp::CDlgExpDataComp(QWidget* parent, int templateId) : CZuDialog(parent, templateId)
{
    setWindowTitle(tr("Experiment Data Comparison"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    m_group = new QComboBox(this);
    m_group->setProperty(CUiTextTranslator::kDataTexts, true); // subsystem names
    m_group->setObjectName("group");
    m_group->setMinimumWidth(200);
    m_value = new QComboBox(this);
    m_value->setObjectName("value");
    m_value->setMinimumWidth(120);
    m_byRpm = new QRadioButton(tr("By RPM"), this);
    m_byFreq = new QRadioButton(tr("By frequency"), this);
    m_byRpm->setChecked(true);
    m_pickColumn = new QPushButton(tr("Data..."), this);
    m_pickColumn->setObjectName("pickColumn");
    m_pickColumn->setEnabled(false); // until the grid has data columns
    m_pickerButton = new QPushButton(tr("Select Data..."), this);
    m_pickerButton->setObjectName("picker");
    top->addWidget(new QLabel(tr("Data:"), this), 0, 0);
    top->addWidget(m_group, 0, 1);
    top->addWidget(m_byRpm, 0, 2);
    top->addWidget(m_byFreq, 0, 3);
    top->addWidget(new QLabel(tr("Value:"), this), 1, 0);
    top->addWidget(m_value, 1, 1);
    top->addWidget(m_pickColumn, 1, 2);
    top->addWidget(m_pickerButton, 1, 3);
    top->setColumnStretch(4, 1);
    layout->addLayout(top);
    m_extraRow = new QWidget(this);
    m_extraRow->setLayout(new QHBoxLayout);
    m_extraRow->layout()->setContentsMargins(0, 0, 0, 0);
    m_extraRow->hide();
    layout->addWidget(m_extraRow);

    auto* split = new QSplitter(Qt::Vertical, this);
    m_graph = new QCustomPlot(split);
    m_graph->setMinimumSize(420, 220);
    CZuChart::PlaceLegendBelow(*m_graph);
    m_graph->legend->setVisible(true);
    m_graph->xAxis->setTickLabelFont(QFont(QStringLiteral("Arial"), 8));
    m_graph->yAxis->setTickLabelFont(QFont(QStringLiteral("Arial"), 8));
    m_graph->xAxis->setLabelFont(QFont(QStringLiteral("Times New Roman"), 10));
    m_graph->yAxis->setLabelFont(QFont(QStringLiteral("Times New Roman"), 10));
    auto* grids = new QWidget(split);
    auto* gridLayout = new QHBoxLayout(grids);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    m_levels = new QTableWidget(grids);
    m_levels->setObjectName("levels");
    m_levels->verticalHeader()->hide();
    m_levels->setWordWrap(false);
    m_levels->setMinimumHeight(140);
    auto* diffBox = new QWidget(grids);
    auto* diffLayout = new QVBoxLayout(diffBox);
    diffLayout->setContentsMargins(0, 0, 0, 0);
    m_diffTitle = new QLabel(diffBox);
    m_diffTitle->setWordWrap(true);
    m_diff = new QTableWidget(diffBox);
    m_diff->setObjectName("diff");
    m_diff->verticalHeader()->hide();
    m_diff->setWordWrap(false);
    diffLayout->addWidget(m_diffTitle);
    diffLayout->addWidget(m_diff, 1);
    diffBox->setMinimumWidth(200);
    gridLayout->addWidget(m_levels, 3);
    gridLayout->addWidget(diffBox, 1);
    split->addWidget(m_graph);
    split->addWidget(grids);
    layout->addWidget(split, 1);

    connect(m_group, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { SelectGroup(i); });
    connect(m_value, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { SelectValue(i); });
    connect(m_byRpm, &QRadioButton::clicked, this, [this] { SetAxisMode(0); });
    connect(m_byFreq, &QRadioButton::clicked, this, [this] { SetAxisMode(1); });
    connect(m_levels->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { OnDataColumnClicked(column); });
    connect(m_levels, &QTableWidget::cellClicked, this, [this](int, int column) { OnDataColumnClicked(column); });
    connect(m_pickerButton, &QPushButton::clicked, this, [this] { OpenPicker(); });
    m_listener = AddObjectGoingListener([this](const void* object) { OnObjectGoing(object); });
    connect(m_pickColumn, &QPushButton::clicked, this, [this] { PickColumn(); });
}

CDlgExpDataComp::~CDlgExpDataComp()
{
    RemoveObjectGoingListener(m_listener);
    CDlgSelectViewData::DestroyInstance(this);
}

bool CDlgExpDataComp::Shows(const void* object) const
{
    // Elements are told going by their element part's address.
    if (m_owner && object == static_cast<const CMElement*>(m_owner))
        return true;
    for (const CMElement* e : m_experiments)
        if (e == object)
            return true;
    for (const CDataInfo& group : m_groups) {
        if (group.experiment == object)
            return true;
        for (const CMElement* e : group.data)
            if (e == object)
                return true;
    }
    for (const Series& s : m_series)
        if (s.data && static_cast<const CMElement*>(s.data) == object)
            return true;
    return false;
}

void CDlgExpDataComp::OnObjectGoing(const void* object)
{
    if (!object || !Shows(object))
        return;
    // The document closes, or the data were deleted: nothing of them may be reached any more.
    m_owner = nullptr;
    m_experiments.Clear();
    m_groups.clear();
    m_series.clear();
    m_valid = false;
    CDlgSelectViewData::DestroyInstance(this);
    EndDialog(IDCANCEL);
}

CTALVOProject* CDlgExpDataComp::Container() const
{
    return m_owner ? m_owner->GetOwner() : nullptr;
}

bool CDlgExpDataComp::OnInitDialog()
{
    m_pickerButton->setEnabled(CHSEARegOptions::ReadDWORD(LoadString(IDS_OPT_DATA_PICKER).c_str(), 0) != 0);
    BuildGroups();
    m_group->clear();
    for (const CDataInfo& group : m_groups)
        m_group->addItem(QString::fromStdString(group.name));
    m_groupIndex = 0;
    m_group->setCurrentIndex(m_groups.empty() ? -1 : 0);
    Recompute(AxisMismatchMessage());
    return true;
}

void CDlgExpDataComp::BuildGroups()
{
    m_groups.clear();
    if (m_experiments.IsEmpty())
        return;
    // Group 0: the used data sets of the DAQ project, one per measurement time (the first met),
    // named after the subsystem of the first used data set of the first experiment.
    CDataInfo all;
    all.kind = 0;
    if (auto* first = ElementCast<CTALVOExp>(m_experiments[0])) {
        CMElementList used;
        first->GetUsedChildren(used);
        for (CMElement* e : used)
            if (auto* set = ElementCast<CDAQExperiment>(e)) {
                all.name = set->GetSecondInfoName();
                break;
            }
    }
    CMElementList used;
    if (m_owner)
        m_owner->GetUsedDAQExperiments(used);
    std::set<int64_t> times;
    for (CMElement* e : used)
        if (auto* set = ElementCast<CDAQExperiment>(e); set && times.insert(TimeOf(*set)).second)
            all.data.Add(set);
    m_groups.push_back(all);
    for (CMElement* e : m_experiments) {
        auto* exp = ElementCast<CTALVOExp>(e);
        if (!exp)
            continue;
        CDataInfo group;
        group.kind = 1;
        group.name = exp->GetSecondSubsystem();
        group.experiment = exp;
        exp->GetUsedChildren(group.data);
        m_groups.push_back(group);
    }
}

bool CDlgExpDataComp::CollectSeries(const CDataInfo& group, std::vector<Series>& out)
{
    for (CMElement* e : group.data) {
        auto* set = ElementCast<CDAQExperiment>(e);
        const CZuRpmFunc* map = set ? set->FindRpmFuncByName(group.name) : nullptr;
        if (!map)
            continue;
        Series s;
        s.data = set;
        s.rpms = map->GetRpmArray();
        s.freqs = map->GetFreqArray();
        s.values.assign(s.rpms.size(), std::vector<double>(s.freqs.size(), 0.0));
        for (size_t r = 0; r < s.rpms.size(); ++r)
            if (map->GetRowFunc(static_cast<int>(r)))
                for (size_t f = 0; f < s.freqs.size(); ++f)
                    s.values[r][f] = map->DataValue(static_cast<int>(r), static_cast<int>(f));
        out.push_back(std::move(s));
    }
    return true;
}

void CDlgExpDataComp::Recompute(uint32_t mismatchMessage)
{
    m_valid = false;
    m_series.clear();
    m_axisValues.clear();
    m_highlighted = -1;
    m_value->clear();
    if (m_groupIndex >= 0 && m_groupIndex < static_cast<int>(m_groups.size()) &&
        CollectSeries(m_groups[static_cast<size_t>(m_groupIndex)], m_series) && !m_series.empty()) {
        m_axisValues = m_axisMode == 0 ? m_series[0].rpms : m_series[0].freqs;
        bool same = true;
        for (const Series& s : m_series)
            same = same && (m_axisMode == 0 ? s.rpms : s.freqs) == m_axisValues;
        if (!same) {
            if (mismatchMessage)
                AfxMessageBox(mismatchMessage);
            m_series.clear();
            m_axisValues.clear();
        } else {
            for (double v : m_axisValues)
                m_value->addItem(QString::fromStdString(Format("%g", v)));
            if (m_valueIndex >= static_cast<int>(m_axisValues.size()))
                m_valueIndex = 0;
            m_value->setCurrentIndex(m_axisValues.empty() ? -1 : m_valueIndex);
            m_valid = true;
        }
    }
    Redraw();
}

void CDlgExpDataComp::SelectGroup(int index)
{
    m_groupIndex = index;
    if (m_group->currentIndex() != index)
        m_group->setCurrentIndex(index);
    Recompute(AxisMismatchMessage());
}

void CDlgExpDataComp::SelectValue(int index)
{
    if (index < 0 || index >= static_cast<int>(m_axisValues.size()))
        return;
    m_valueIndex = index;
    m_value->setCurrentIndex(index);
    Redraw();
}

void CDlgExpDataComp::SetAxisMode(int mode)
{
    m_axisMode = mode == 1 ? 1 : 0;
    (m_axisMode == 0 ? m_byRpm : m_byFreq)->setChecked(true);
    m_valueIndex = 0;
    Recompute(AxisMismatchMessage());
}

double CDlgExpDataComp::Level(int series, int point) const
{
    double level = 0.0;
    return Value(series, point, level) ? level : 0.0;
}

bool CDlgExpDataComp::Value(int series, int point, double& level) const
{
    level = 0.0;
    if (!m_valid || series < 0 || series >= static_cast<int>(m_series.size()) || m_valueIndex < 0 ||
        m_valueIndex >= static_cast<int>(m_axisValues.size()))
        return 0.0;
    const Series& first = m_series[0];
    const Series& s = m_series[static_cast<size_t>(series)];
    double rpm = 0.0;
    int freq = 0;
    if (m_axisMode == 0) {
        rpm = m_axisValues[static_cast<size_t>(m_valueIndex)];
        freq = point;
    } else {
        if (point < 0 || point >= static_cast<int>(first.rpms.size()))
            return false;
        rpm = first.rpms[static_cast<size_t>(point)];
        freq = m_valueIndex;
    }
    // A data set without a row for the RPM contributes no value.
    size_t row = 0;
    while (row < s.rpms.size() && s.rpms[row] != rpm)
        ++row;
    if (row >= s.rpms.size() || freq < 0 || freq >= static_cast<int>(s.freqs.size()))
        return false;
    const double v = s.values[row][static_cast<size_t>(freq)];
    // No value (and no logarithm of a non-positive one).
    if (v <= 0.0)
        return false;
    const std::string& name = m_groups[static_cast<size_t>(m_groupIndex)].name;
    const CTALVOProject* container = Container();
    const double ref = container && container->IsAcoustic(name) ? 2e-5 : 1.0;
    level = 20.0 * std::log10(v / ref);
    return true;
}

std::string CDlgExpDataComp::SeriesLabel(const CDAQExperiment& data, int kind)
{
    if (kind == 1)
        return Format("SN#%02d-%s", data.GetSerial(), DateText(data).c_str());
    const auto* exp = ElementCast<CTALVOExp>(data.GetParent());
    return Format("%s-#%02d", exp ? exp->GetDescription().c_str() : "", data.GetSerial());
}

QColor CDlgExpDataComp::DiffColor(double difference)
{
    if (difference > 1.0)
        return Qt::red;
    if (difference >= 0.5)
        return Qt::yellow;
    return {};
}

void CDlgExpDataComp::Redraw()
{
    FillLevelGrid();
    FillDiffGrid();
    DrawGraph();
}

void CDlgExpDataComp::PickColumn()
{
    std::vector<std::string> headers;
    for (int c = 1; c < m_levels->columnCount(); ++c) {
        const QTableWidgetItem* header = m_levels->horizontalHeaderItem(c);
        headers.push_back(header ? header->text().toStdString() : std::string());
    }
    if (headers.empty())
        return;
    const int k = CDlgSelectSubsystem::PickName(this, headers);
    if (k >= 0)
        OnDataColumnClicked(k + 1);
}

void CDlgExpDataComp::FillLevelGrid()
{
    m_levels->clear();
    m_levels->setRowCount(0);
    m_levels->setColumnCount(0);
    m_pickColumn->setEnabled(m_valid);
    if (!m_valid)
        return;
    const Series& first = m_series[0];
    const std::vector<double>& points = m_axisMode == 0 ? first.freqs : first.rpms;
    const int kind = m_groups[static_cast<size_t>(m_groupIndex)].kind;
    const CTALVOProject* container = Container();
    const int digits = container ? const_cast<CTALVOProject*>(container)->GetHSEAOptions().HSS_DecimalPlaces : 2;
    m_levels->setColumnCount(static_cast<int>(m_series.size()) + 1);
    m_levels->setRowCount(static_cast<int>(points.size()));
    QStringList headers{m_axisMode == 0 ? QStringLiteral("Freq. [Hz]") : QStringLiteral("RPM")};
    for (const Series& s : m_series)
        headers << QString::fromStdString(SeriesLabel(*s.data, kind));
    m_levels->setHorizontalHeaderLabels(headers);
    for (int i = 0; i < static_cast<int>(points.size()); ++i) {
        m_levels->setItem(i, 0, Cell(Format("%g", points[static_cast<size_t>(i)])));
        for (int k = 0; k < static_cast<int>(m_series.size()); ++k) {
            double level = 0.0;
            m_levels->setItem(i, k + 1, Cell(Value(k, i, level) ? CGfxUtil::GenFormat(level, digits) : "---"));
        }
    }
    FitColumns(*m_levels, 70);
}

void CDlgExpDataComp::FillDiffGrid()
{
    m_diff->clear();
    m_diff->setRowCount(0);
    m_diff->setColumnCount(0);
    m_diffTitle->clear();
    if (!m_valid || m_series.size() != 2)
        return;
    const CDAQExperiment& a = *m_series[0].data;
    const CDAQExperiment& b = *m_series[1].data;
    auto nameOf = [](const CDAQExperiment& d) { return d.GetParent() ? d.GetParent()->GetName() : d.GetName(); };
    m_diffTitle->setText(QString::fromStdString(Format(
        "Diff.[dB] - [%s - SN#%s (%s)]/[%s - SN#%s (%s)]", nameOf(a).c_str(), Format("%02d", a.GetSerial()).c_str(),
        DateText(a).c_str(), nameOf(b).c_str(), Format("%02d", b.GetSerial()).c_str(), DateText(b).c_str())));
    const std::vector<double>& points = m_axisMode == 0 ? m_series[0].freqs : m_series[0].rpms;
    m_diff->setColumnCount(2);
    m_diff->setRowCount(static_cast<int>(points.size()));
    m_diff->setHorizontalHeaderLabels(
        {m_axisMode == 0 ? QStringLiteral("Freq. [Hz]") : QStringLiteral("RPM"), QStringLiteral("Diff.[dB]")});
    for (int i = 0; i < static_cast<int>(points.size()); ++i) {
        m_diff->setItem(i, 0, Cell(Format("%g", points[static_cast<size_t>(i)])));
        const double d = std::fabs(Level(0, i) - Level(1, i));
        QTableWidgetItem* cell = Cell(Format("%.1f", d));
        if (const QColor c = DiffColor(d); c.isValid()) {
            cell->setBackground(c);
            if (c == QColor(Qt::red))
                cell->setForeground(Qt::white);
        }
        m_diff->setItem(i, 1, cell);
    }
    FitColumns(*m_diff, 70);
}

void CDlgExpDataComp::DrawGraph()
{
    m_graph->clearGraphs();
    m_graph->xAxis->setLabel(m_axisMode == 0 ? QStringLiteral("Freq. [Hz]") : QStringLiteral("RPM"));
    const bool acoustic =
        m_valid && Container() && Container()->IsAcoustic(m_groups[static_cast<size_t>(m_groupIndex)].name);
    m_graph->yAxis->setLabel(acoustic ? QStringLiteral("SPL [dB]") : QStringLiteral("Velocity Level [dB]"));
    if (m_valid) {
        const std::vector<double>& points = m_axisMode == 0 ? m_series[0].freqs : m_series[0].rpms;
        const int kind = m_groups[static_cast<size_t>(m_groupIndex)].kind;
        for (int k = 0; k < static_cast<int>(m_series.size()); ++k) {
            QCPGraph* graph = m_graph->addGraph();
            QVector<double> x, y;
            for (int i = 0; i < static_cast<int>(points.size()); ++i) {
                x << points[static_cast<size_t>(i)];
                y << Level(k, i);
            }
            graph->setData(x, y);
            graph->setName(QString::fromStdString(SeriesLabel(*m_series[static_cast<size_t>(k)].data, kind)));
            QPen pen(kSeriesColors[k % 8]);
            pen.setWidth(k == m_highlighted ? 3 : 1);
            graph->setPen(pen);
            graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 4));
        }
        m_graph->rescaleAxes();
    }
    m_graph->replot();
}

void CDlgExpDataComp::OnDataColumnClicked(int column)
{
    const int k = column - 1;
    if (k < 0 || k >= static_cast<int>(m_series.size()))
        return;
    m_highlighted = k;
    DrawGraph();
    m_levels->selectColumn(column);
    CDAQExperiment* data = m_series[static_cast<size_t>(k)].data;
    if (m_ownerWindow)
        m_ownerWindow->SendMessage(WM_ZU_DATA_COLUMN_CLICKED, 0, reinterpret_cast<intptr_t>(data));
    if (CDlgSelectViewData* picker = CDlgSelectViewData::GetInstance(this))
        picker->SelectElement(data);
}

void CDlgExpDataComp::OnPickerTicked(const CMElementList& ticked)
{
    if (m_groupIndex < 0 || m_groupIndex >= static_cast<int>(m_groups.size()))
        return;
    m_groups[static_cast<size_t>(m_groupIndex)].data = ticked;
    Recompute(IDS_LP_AXES_DIFFER);
}

void CDlgExpDataComp::OpenPicker()
{
    if (m_groupIndex < 0 || m_groupIndex >= static_cast<int>(m_groups.size()))
        return;
    CDlgSelectViewData* picker = CDlgSelectViewData::CreateInstance(this, this);
    if (!picker) {
        if (CDlgSelectViewData* open = CDlgSelectViewData::GetInstance(this)) {
            open->raise();
            open->activateWindow();
        }
        return;
    }
    const CDataInfo& group = m_groups[static_cast<size_t>(m_groupIndex)];
    CMElementList roots;
    if (group.kind == 1 && group.experiment)
        roots.Add(group.experiment);
    else
        roots = m_experiments;
    picker->SetRoots(roots);
    picker->SetTickedList(group.data);
    picker->onSelected = [this](CMElement* element) {
        for (size_t k = 0; k < m_series.size(); ++k)
            if (m_series[k].data == element) {
                m_highlighted = static_cast<int>(k);
                DrawGraph();
                m_levels->selectColumn(static_cast<int>(k) + 1);
            }
    };
    picker->onTickedChanged = [this](const CMElementList& ticked) { OnPickerTicked(ticked); };
    picker->Create();
}

std::string CDlgExpDataComp::GridText(const QTableWidget& grid) const
{
    std::string text = Format("Subsystem:\t%s\r\n", m_group->currentText().toStdString().c_str());
    text += Format("RPM:\t%s\r\n", m_value->currentText().toStdString().c_str());
    auto row = [&](auto cellText) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            if (c > 0)
                text += "\t";
            text += cellText(c);
        }
        text += "\r\n";
    };
    row([&](int c) {
        const QTableWidgetItem* h = grid.horizontalHeaderItem(c);
        return h ? h->text().toStdString() : std::string();
    });
    for (int r = 0; r < grid.rowCount(); ++r)
        row([&](int c) {
            const QTableWidgetItem* item = grid.item(r, c);
            return item ? item->text().toStdString() : std::string();
        });
    return text;
}

bool CDlgExpDataComp::CopyGrid(const QTableWidget& grid)
{
    if (SetClipboardText(GridText(grid)))
        return true;
    AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN);
    return false;
}

void CDlgExpDataComp::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        if (m_diff->hasFocus()) {
            CopyGrid(*m_diff);
            return;
        }
        if (m_levels->hasFocus()) {
            CopyGrid(*m_levels);
            return;
        }
    }
    CZuDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------
// per local point

CDlgExpLPDataComp::CDlgExpLPDataComp(QWidget* parent) : CDlgExpDataComp(parent, IDD)
{
    setWindowTitle(tr("Experiment Data Comparison by Local Point"));
    m_point = new QComboBox(m_extraRow);
    m_point->setProperty(CUiTextTranslator::kDataTexts, true); // local point names
    m_point->setObjectName("localPoint");
    m_point->setMinimumWidth(120);
    m_extraRow->layout()->addWidget(new QLabel(tr("Local point:"), m_extraRow));
    m_extraRow->layout()->addWidget(m_point);
    static_cast<QHBoxLayout*>(m_extraRow->layout())->addStretch(1);
    m_extraRow->show();
    connect(m_point, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { SelectLocalPoint(i); });
}

void CDlgExpLPDataComp::SelectLocalPoint(int index)
{
    if (index < 0 || index >= m_point->count())
        return;
    m_pointIndex = index;
    m_point->setCurrentIndex(index);
    Recompute(AxisMismatchMessage());
}

bool CDlgExpLPDataComp::CollectSeries(const CDataInfo& group, std::vector<Series>& out)
{
    // The local-point function of the group's subsystem: one vector function per RPM, one column
    // per local point.
    std::vector<std::pair<CDAQExperiment*, CZuRpmMultiVecFunc*>> funcs;
    for (CMElement* e : group.data) {
        auto* set = ElementCast<CDAQExperiment>(e);
        if (!set)
            continue;
        for (int i = 0; i < set->GetChildCount(); ++i)
            if (auto* f = ElementCast<CZuRpmMultiVecFunc>(set->GetChild(i)); f && f->GetLabel() == group.name) {
                funcs.emplace_back(set, f);
                break;
            }
    }
    auto pointCount = [](const CZuRpmMultiVecFunc* f) {
        const auto* vec = f->GetRpmCount() > 0 ? dynamic_cast<const CZuVecFunc*>(f->GetRpmData(0)) : nullptr;
        return vec ? vec->GetSubsystemCount() : 0;
    };
    const int points = funcs.empty() ? 0 : pointCount(funcs[0].second);
    bool sameCounts = true;
    for (const auto& [set, f] : funcs)
        sameCounts = sameCounts && pointCount(f) == points;
    // The list follows the first data set; the message comes once per group.
    if (points != m_pointCountOfGroup || m_point->count() != points) {
        m_pointCountOfGroup = points;
        m_point->clear();
        for (int p = 0; p < points; ++p)
            m_point->addItem(QString::fromStdString(Format("LP#%d", p + 1)));
        if (m_pointIndex >= points)
            m_pointIndex = 0;
        if (!sameCounts)
            AfxMessageBox(IDS_LP_COUNTS_DIFFER);
    }
    m_point->setCurrentIndex(points > 0 ? m_pointIndex : -1);
    for (const auto& [set, f] : funcs) {
        Series s;
        s.data = set;
        for (int r = 0; r < f->GetRpmCount(); ++r)
            s.rpms.push_back(f->GetRpm(r));
        const auto* first = f->GetRpmCount() > 0 ? dynamic_cast<const CZuVecFunc*>(f->GetRpmData(0)) : nullptr;
        if (first)
            s.freqs = first->GetDataIndexArray();
        s.values.assign(s.rpms.size(), std::vector<double>(s.freqs.size(), 0.0));
        for (int r = 0; r < f->GetRpmCount(); ++r) {
            const auto* vec = dynamic_cast<const CZuVecFunc*>(f->GetRpmData(r));
            if (!vec || m_pointIndex >= vec->GetSubsystemCount())
                continue;
            for (int i = 0; i < static_cast<int>(s.freqs.size()) && i < vec->GetDataCount(); ++i)
                s.values[static_cast<size_t>(r)][static_cast<size_t>(i)] = vec->DataValue(i, m_pointIndex);
        }
        out.push_back(std::move(s));
    }
    return true;
}
