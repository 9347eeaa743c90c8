#include "views/ui/DlgCavPcView.h"

#include "app/AnalysisProject.h"
#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "common/AWeighting.h"
#include "models/HSEAOptions.h"
#include "models/HSEAResultData.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "platform/ui/ZuChart.h"
#include "platform/ui/ZuDataTipCtrl.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"
#include "views/ui/DlgSelectSPLsSrc.h"
#include "views/ui/StackedChart.h"
#include "views/ui/AxisChoiceBox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {
QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A no-value level is a gap in the line chart rather than a drop to the bottom of the scale.
double Plotted(double level)
{
    return level <= CCavPcViewData::kNoLevel ? std::numeric_limits<double>::quiet_NaN() : level;
}

QString LevelUnit(int weighting)
{
    return weighting == 1 ? QStringLiteral("dB(A) (ref=2E-5Pa)") : QStringLiteral("dB (ref=2E-5Pa)");
}
} // namespace

CDlgCavPcView* CDlgCavPcView::CreateInstance(const void* key, QWidget* parent)
{
    return Instances().RegisterNew(key, [&] { return new CDlgCavPcView(parent); });
}

CDlgCavPcView* CDlgCavPcView::ShowInstance(CZuRpmPcFunc* result, QWidget* parent)
{
    if (!result)
        return nullptr;
    return Instances().ShowFor(result, [&]() -> CDlgCavPcView* {
        auto* viewer = new CDlgCavPcView(parent);
        viewer->SetData(result->GetTargetName(), result);
        viewer->Create();
        return viewer;
    });
}

CDlgCavPcView::CDlgCavPcView(QWidget* parent) : CZuDialog(parent, IDD)
{
    setWindowTitle(QString::fromStdString(LoadString(IDS_POWER_CONTRIBUTION)));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_stacked = new CStackedChart(this);
    m_stacked->setObjectName("stackedChart");
    m_line = new CZuChart(this);
    m_line->setObjectName("lineChart");
    m_line->hide();
    layout->addWidget(m_stacked, 1);
    layout->addWidget(m_line, 1);

    auto* controls = new QGridLayout;
    auto* viewBox = new QGroupBox(tr("View"), this);
    auto* viewRow = new QHBoxLayout(viewBox);
    auto* views = new QButtonGroup(this);
    const char* viewTexts[] = {"Level share", "Rate [%]", "SPL per contributor"};
    for (int v = 0; v < 3; ++v) {
        m_viewRadio[v] = new QRadioButton(tr(viewTexts[v]), viewBox);
        views->addButton(m_viewRadio[v], v);
        viewRow->addWidget(m_viewRadio[v]);
    }
    m_viewRadio[0]->setChecked(true);
    connect(views, &QButtonGroup::idClicked, this, [this](int v) { SetView(v); });

    auto* axisBox = AxisChoiceBox(this, m_axisRadio, [this](int a) { SetAxis(a); });

    auto* weightBox = new QGroupBox(tr("Weighting"), this);
    auto* weightRow = new QHBoxLayout(weightBox);
    m_noWeight = new QRadioButton(tr("None"), weightBox);
    m_aWeight = new QRadioButton(tr("A"), weightBox);
    weightRow->addWidget(m_noWeight);
    weightRow->addWidget(m_aWeight);
    weightRow->addStretch(1);
    connect(m_aWeight, &QRadioButton::toggled, this, [this](bool on) { SetWeighting(on ? 1 : 0); });

    m_list = new QComboBox(this);
    m_list->setObjectName("positions");
    m_list->setMinimumWidth(140);
    connect(m_list, &QComboBox::activated, this, [this](int i) { SelectPosition(i); });

    controls->addWidget(viewBox, 0, 0);
    controls->addWidget(weightBox, 0, 1);
    controls->addWidget(axisBox, 1, 0);
    auto* positionRow = new QHBoxLayout;
    positionRow->addWidget(new QLabel(tr("Position:"), this));
    positionRow->addWidget(m_list, 1);
    controls->addLayout(positionRow, 1, 1);
    layout->addLayout(controls);

    m_tip = new CZuDataTipCtrl(this);
    m_tip->SetOffset(10, -10);
    m_readOutTimer.setSingleShot(true);
    m_readOutTimer.setInterval(400);
    connect(&m_readOutTimer, &QTimer::timeout, this, [this] { OnReadOutTimer(); });
    m_stacked->setMouseTracking(true);
    m_stacked->installEventFilter(this);
    connect(m_line, &QCustomPlot::plottableClick, this,
            [this](QCPAbstractPlottable* plottable, int point, QMouseEvent*) {
                auto* graph = qobject_cast<QCPGraph*>(plottable);
                if (!graph || !m_splView || point < 0 || point >= graph->dataCount())
                    return;
                const auto it = graph->data()->at(point);
                const QString text = QString::fromStdString(
                    Format(m_weighting == 1 ? "%s [%g%s %.1fdB(A)]" : "%s [%g%s %.1fdB]",
                           graph->name().toStdString().c_str(), it->key, m_axis == 0 ? "Hz" : "RPM", it->value));
                m_tip->SetTip(mapFromGlobal(QCursor::pos()), text);
                m_tip->Show(1);
                const int c = graph->property("contributor").toInt();
                if (m_sources && graph->property("isContributor").toBool())
                    m_sources->SetCurSel(c);
            });
    resize(820, 600);
}

CDlgCavPcView::~CDlgCavPcView()
{
    if (m_sources && m_sources == CDlgSelectSPLsSrc::GetInstance())
        CDlgSelectSPLsSrc::DestroyInstance();
}

void CDlgCavPcView::SetData(const std::string& name, CZuRpmPcFunc* result)
{
    m_target = name;
    m_result = result;
}

CAnalysisProject* CDlgCavPcView::Project() const
{
    for (CMElement* e = m_result; e; e = e->GetParent())
        if (auto* project = DynamicDowncast<CAnalysisProject>(e))
            return project;
    return nullptr;
}

bool CDlgCavPcView::OnInitDialog()
{
    m_splView = static_cast<int>(GetRegOptionByStringId(IDS_SPL_PER_CONTRIBUTOR));
    m_axis = 0;
    m_data.SetResult(m_result);
    auto* set = m_result ? DynamicDowncast<CZuRpmResultData>(m_result->GetParent()) : nullptr;
    CAnalysisProject* project = Project();
    CTALVOProject* container = project ? project->GetOwner() : nullptr;
    // The target's SPL per result RPM and band, copied: the function stays in the project, where the
    // user may delete it while the viewer is open.
    std::vector<std::vector<double>> spl(static_cast<size_t>(m_data.GetRpmCount()));
    CZuRpmMultiVecFunc* f = set && project ? project->FindSPL(set, m_target) : nullptr;
    if (!f && set && project)
        f = project->AddResult(set, project->CalcSPL(set, m_target, &*CStatusBarFallback(nullptr)));
    if (f)
        for (int r = 0; r < m_data.GetRpmCount(); ++r) {
            const int row = f->FindRpmIndex(m_data.GetRpm(r));
            if (const auto* levels = row >= 0 ? dynamic_cast<const CZuFunc*>(f->GetRpmData(row)) : nullptr)
                for (int b = 0; b < levels->GetDataCount(); ++b)
                    spl[static_cast<size_t>(r)].push_back(levels->DataValue(b));
        }
    m_weighting = container ? container->GetHSEAOptions().WeightingFilter : 0;
    m_data.SetTargetSpl([spl](int rpm, int band) {
        if (rpm < 0 || rpm >= static_cast<int>(spl.size()) || band < 0 ||
            band >= static_cast<int>(spl[static_cast<size_t>(rpm)].size()))
            return 0.0;
        return spl[static_cast<size_t>(rpm)][static_cast<size_t>(band)];
    });
    std::string keyed = m_target, plain = m_target;
    CGfxUtil::RemoveWaveSign(plain);
    if (container && keyed == plain)
        container->GetSubsystemType(keyed, 1);
    double volume = 0.0;
    if (container && container->GetModelProject())
        if (CModelSubsystem* s = container->GetModelProject()->GetSubsystem(plain, 0, 0))
            volume = s->GetVolume();
    m_data.SetDamping(
        [this, set, project, keyed](int rpm, int band, double& eta, double& freq) {
            auto* h = set ? DynamicDowncast<CHSEAResultData>(set->GetResult(rpm)) : nullptr;
            if (!h || !project)
                return false;
            const std::vector<int32_t>& map = project->GetFreqIndexArray();
            const int modelBand = band < static_cast<int>(map.size()) ? map[static_cast<size_t>(band)] : band;
            if (modelBand < 0)
                return false;
            eta = h->ExtractIntrinsicDlf(keyed, static_cast<unsigned>(modelBand), &*CStatusBarFallback(nullptr));
            freq = h->GetFreq(modelBand);
            return true;
        },
        volume);
    m_data.SetStructureTest([container](const std::string& name) {
        std::string plain = name;
        CGfxUtil::RemoveWaveSign(plain);
        return container && container->IsStructure(plain) == 1;
    });
    std::vector<double> aWeight;
    for (int b = 0; b < m_data.GetBandCount(); ++b)
        aWeight.push_back(AWeightingDB(m_data.GetBandFreq(b), 0.0));
    m_data.SetAWeighting(aWeight);
    m_data.SetWeighting(m_weighting);

    {
        const QSignalBlocker block(m_aWeight);
        m_aWeight->setChecked(m_weighting == 1);
        m_noWeight->setChecked(m_weighting != 1);
    }
    m_viewRadio[2]->setVisible(m_splView != 0);
    m_viewRadio[2]->setEnabled(m_splView != 0);
    FillList();
    Redraw();
    return true;
}

void CDlgCavPcView::FillList()
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    if (m_axis == 0)
        for (int r = 0; r < m_data.GetRpmCount(); ++r)
            m_list->addItem(QString::fromStdString(Format("%g RPM", m_data.GetRpm(r))), r);
    else
        for (int b = 0; b < m_data.GetBandCount(); ++b)
            m_list->addItem(QString::fromStdString(Format("%g Hz", m_data.GetBandFreq(b))), b);
    if (m_list->count() > 0)
        m_list->setCurrentIndex(0);
}

void CDlgCavPcView::SetView(int view)
{
    if (view == 2 && !m_splView)
        return;
    m_view = view;
    m_viewRadio[view]->setChecked(true);
    Redraw();
}

void CDlgCavPcView::SetAxis(int axis)
{
    m_axis = axis == 1 ? 1 : 0;
    m_axisRadio[m_axis]->setChecked(true);
    FillList();
    Redraw();
}

void CDlgCavPcView::SetWeighting(int weighting)
{
    m_weighting = weighting;
    m_data.SetWeighting(weighting);
    {
        const QSignalBlocker block(m_aWeight);
        m_aWeight->setChecked(weighting == 1);
        m_noWeight->setChecked(weighting != 1);
    }
    Redraw();
}

void CDlgCavPcView::SelectPosition(int index)
{
    if (index < 0 || index >= m_list->count())
        return;
    m_list->setCurrentIndex(index);
    Redraw();
}

void CDlgCavPcView::Redraw()
{
    const int index = m_list->currentIndex() >= 0 ? m_list->currentData().toInt() : 0;
    m_data.Compute(m_view, m_axis, index);
    m_tip->Show(0);
    if (m_view == CCavPcViewData::kViewSpl) {
        if (!m_sources || m_sources != CDlgSelectSPLsSrc::GetInstance()) {
            if (CDlgSelectSPLsSrc::GetInstance())
                CDlgSelectSPLsSrc::DestroyInstance(); // it lists another viewer's contributors
            m_sources = CDlgSelectSPLsSrc::CreateInstance(this, this);
        }
        SyncSourceTicks();
        if (m_sources)
            m_sources->show();
        m_stacked->hide();
        m_line->show();
        DrawLine();
    } else {
        if (m_sources && m_sources == CDlgSelectSPLsSrc::GetInstance())
            m_sources->hide();
        m_line->hide();
        m_stacked->show();
        DrawStacked();
    }
}

// The source list always lists the contributors of the current drawing, ticked as selected.
void CDlgCavPcView::SyncSourceTicks()
{
    if (!m_sources)
        return;
    CZuSubsystemTable table(m_data.GetNames());
    m_sources->SetSubsystemTable(&table);
    for (int c = 0; c < m_data.GetContributorCount(); ++c)
        if (!m_data.GetSelected(c))
            m_sources->ClickTick(c);
}

void CDlgCavPcView::DrawStacked()
{
    CStackedChart& chart = *m_stacked;
    chart.ClearChart();
    const bool cumulative = GetRegOptionByStringId(IDS_CUMULATIVE_CHARTS) != 0;
    chart.SetTitle(QString::fromStdString(Format("Power Contribution [%s]", m_target.c_str())));
    chart.xAxis->setLabel(m_axis == 0 ? QStringLiteral("Freq. [Hz]") : QStringLiteral("RPM"));
    chart.yAxis->setLabel(m_view == 0 ? LevelUnit(m_weighting) : QStringLiteral("%"));
    chart.Draw(m_data.GetX(), m_data.GetCells(), m_data.GetNames(), m_data.GetColors(cumulative), cumulative,
               m_data.GetGroupEnd());
}

void CDlgCavPcView::DrawLine()
{
    CZuChart& chart = *m_line;
    chart.ClearChart();
    chart.yAxis2->setVisible(true);
    const std::vector<COLORREF> colors = m_data.GetColors(false);
    const int points = m_data.GetPointCount();
    QVector<double> keys;
    for (double x : m_data.GetX())
        keys << x;
    double low = std::numeric_limits<double>::max(), high = -low;
    auto add = [&](const QString& name, const QVector<double>& y, const QPen& pen, QCPAxis* valueAxis) {
        QCPGraph* g = chart.addGraph(chart.xAxis, valueAxis);
        g->setName(name);
        g->setData(keys, y, true);
        g->setPen(pen);
        if (valueAxis == chart.yAxis)
            for (double v : y)
                if (std::isfinite(v)) {
                    low = std::min(low, v);
                    high = std::max(high, v);
                }
        return g;
    };
    for (int c = 0; c < m_data.GetContributorCount(); ++c) {
        const int tick = m_sources ? m_sources->GetCheck(c) : CDlgSelectSPLsSrc::kShown;
        QVector<double> y;
        for (int k = 0; k < points; ++k)
            y << (tick == CDlgSelectSPLsSrc::kHidden ? std::numeric_limits<double>::quiet_NaN()
                                                     : Plotted(m_data.GetCell(c, k)));
        const double width = tick == CDlgSelectSPLsSrc::kMarked || c == m_highlighted ? 2.5 : 1.0;
        QCPGraph* g = add(QString::fromStdString(m_data.GetNames()[static_cast<size_t>(c)]), y,
                          QPen(ToQColor(colors[static_cast<size_t>(c)]), width), chart.yAxis);
        g->setProperty("contributor", c);
        g->setProperty("isContributor", true);
    }
    QVector<double> selected, total, diff;
    const std::vector<double> d = m_data.GetDifference();
    for (int k = 0; k < points; ++k) {
        selected << Plotted(m_data.GetSelectedSum()[static_cast<size_t>(k)]);
        total << Plotted(m_data.GetTotal()[static_cast<size_t>(k)]);
        diff << Plotted(d[static_cast<size_t>(k)]);
    }
    add(tr("Selected"), selected, QPen(QColor(255, 0, 255), 2.0, Qt::DashLine), chart.yAxis);
    add(tr("Total"), total, QPen(QColor(255, 0, 0), 2.5), chart.yAxis);
    add(QStringLiteral("SPL Diff."), diff, QPen(QColor(0, 128, 0), 1.5), chart.yAxis2);

    const double at = m_axis == 0 ? m_data.GetRpm(m_data.GetIndex()) : m_data.GetBandFreq(m_data.GetIndex());
    chart.SetTitle(
        QString::fromStdString(Format(m_axis == 0 ? "SPLs [%s] - %gRPM" : "SPLs [%s] - %gHz", m_target.c_str(), at)));
    chart.xAxis->setLabel(m_axis == 0 ? QStringLiteral("Freq. [Hz]") : QStringLiteral("RPM"));
    if (m_axis == 0 && !keys.isEmpty() && keys.front() > 0.0)
        CZuChart::SetLogAxis(chart.xAxis, std::pow(10.0, std::floor(std::log10(keys.front()))),
                             std::pow(10.0, std::ceil(std::log10(keys.back()))));
    else if (!keys.isEmpty())
        chart.xAxis->setRange(keys.front(), keys.back() > keys.front() ? keys.back() : keys.front() + 1.0);
    chart.yAxis->setLabel(LevelUnit(m_weighting));
    chart.yAxis2->setLabel(QStringLiteral("SPL Diff. [dB]"));
    if (high >= low)
        chart.yAxis->setRange(10.0 * std::floor(low / 10.0),
                              10.0 * std::ceil(high / 10.0) + (high == low ? 10.0 : 0.0));
    chart.yAxis2->setRange(-20.0, 5.0);
    CZuChart::PlaceLegendBelow(chart);
    chart.legend->setVisible(true);
    chart.replot();
}

QString CDlgCavPcView::ReadOut(double x, double y) const
{
    const int c = m_data.HitTest(x, y);
    if (c < 0)
        return QString();
    const int k = static_cast<int>(std::lround(x));
    const std::string& name = m_data.GetNames()[static_cast<size_t>(c)];
    const double xValue = k >= 0 && k < m_data.GetPointCount() ? m_data.GetX()[static_cast<size_t>(k)] : 0.0;
    const char* unit = m_axis == 0 ? "Hz" : "RPM";
    double value = m_data.GetCell(c, k);
    if (m_view == CCavPcViewData::kViewShare) {
        const double total =
            k < static_cast<int>(m_data.GetTotal().size()) ? m_data.GetTotal()[static_cast<size_t>(k)] : 0.0;
        value = total > 0.0 ? value * 100.0 / total : 0.0;
    }
    return QString::fromStdString(Format("%s [%g%s %.1f%%]", name.c_str(), xValue, unit, value));
}

bool CDlgCavPcView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_stacked && event->type() == QEvent::MouseMove) {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (pos != m_lastPos) {
            // The read-out waits until the mouse rests, so the chart is not queried on every move.
            m_pendingPos = pos;
            m_readOutTimer.start();
            if (m_tip->isVisible())
                m_tip->Show(0);
            m_lastPos = pos;
        }
    }
    return CZuDialog::eventFilter(watched, event);
}

void CDlgCavPcView::OnReadOutTimer()
{
    if (m_lastPos != m_pendingPos || !m_stacked->isVisible())
        return;
    double x = 0.0, y = 0.0;
    if (!m_stacked->DataPosition(m_pendingPos, x, y)) {
        m_tip->Show(0);
        return;
    }
    const QString text = ReadOut(x, y);
    if (text.isEmpty()) {
        m_tip->Show(0);
        return;
    }
    m_tip->SetTip(m_stacked->mapTo(this, m_pendingPos), text);
    m_tip->Show(1);
}

intptr_t CDlgCavPcView::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case WM_ZU_SPL_SRC_TICK:
        // (0, 0) after every tick changed; otherwise one contributor.
        for (int c = 0; c < m_data.GetContributorCount(); ++c)
            if (msg == WM_ZU_SPL_SRC_TICK && ((wParam == 0 && lParam == 0) || static_cast<int>(wParam) == c))
                m_data.SetSelected(c, m_sources && m_sources->GetCheck(c) != CDlgSelectSPLsSrc::kHidden);
        {
            // Recompute the sums with the new selection, keeping the ticks.
            const int index = m_list->currentIndex() >= 0 ? m_list->currentData().toInt() : 0;
            m_data.Compute(m_view, m_axis, index);
        }
        if (m_view == CCavPcViewData::kViewSpl)
            DrawLine();
        return 0;
    case WM_ZU_SPL_SRC_SELECT:
        m_highlighted = static_cast<int>(wParam);
        if (m_view == CCavPcViewData::kViewSpl)
            DrawLine();
        return 0;
    case WM_ZU_SPL_SRC_CLEAR:
        m_highlighted = -1;
        if (m_view == CCavPcViewData::kViewSpl)
            DrawLine();
        return 0;
    default:
        return 0;
    }
}

void CDlgCavPcView::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    QMetaObject::invokeMethod(
        this, [this, msg, wParam, lParam] { SendMessage(msg, wParam, lParam); }, Qt::QueuedConnection);
}
