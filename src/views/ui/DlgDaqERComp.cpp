#include "views/ui/DlgDaqERComp.h"

#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "experiments/AveExpData.h"
#include "models/HSEAModelData.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/Clipboard.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"
#include "spectral/OctFreqIndexMap.h"
#include "spectral/ZuRpmFunc.h"
#include "views/ui/AxisChoiceBox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {
// The averaged measured map of a subsystem, values per [rpm row][DAQ band].
CDaqERCompData::CMeasured Measured(const CZuRpmFunc& f, const std::string& name, double factor)
{
    CDaqERCompData::CMeasured m;
    m.name = name;
    m.factor = factor;
    for (int r = 0; r < f.GetRpmCount(); ++r) {
        std::vector<double> row;
        for (int b = 0; b < f.GetFreqCount(); ++b)
            row.push_back(f.DataValue(r, b));
        m.values.push_back(std::move(row));
    }
    return m;
}

std::vector<double> Values(const CZuFunc& f)
{
    std::vector<double> v;
    for (int i = 0; i < f.GetDataCount(); ++i)
        v.push_back(f.DataValue(i));
    return v;
}
} // namespace

CDlgDaqERComp* CDlgDaqERComp::CreateInstance(QWidget* parent)
{
    return Instances().RegisterNew(ProgramKey(), [parent] { return new CDlgDaqERComp(parent); });
}

CDlgDaqERComp* CDlgDaqERComp::Open(CDaqProject* daq, QWidget* parent)
{
    DestroyInstance();
    CDlgDaqERComp* dialog = CreateInstance(parent);
    if (!dialog)
        return nullptr;
    if (!daq || !dialog->Initialize(daq)) {
        // Nothing to show: the instance goes at once rather than waiting unseen.
        DestroyInstance();
        return nullptr;
    }
    dialog->setAttribute(Qt::WA_DeleteOnClose, true);
    dialog->Create();
    return dialog;
}

CDlgDaqERComp::CDlgDaqERComp(QWidget* parent) : CZuDialog(parent, IDD)
{
    setWindowTitle(tr("Target Energy Comparison"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_chart = new CZuChart(this);
    m_chart->setObjectName("chart");
    layout->addWidget(m_chart, 1);
    auto* row = new QHBoxLayout;
    auto* axisBox = AxisChoiceBox(this, m_axisRadio, [this](int a) { SetAxis(a); });
    m_list = new QComboBox(this);
    m_list->setObjectName("positions");
    m_list->setMinimumWidth(120);
    connect(m_list, &QComboBox::activated, this, [this](int i) { SelectPosition(i); });
    auto* copy = new QPushButton(tr("Copy"), this);
    connect(copy, &QPushButton::clicked, this, [this] { Copy(); });
    row->addWidget(axisBox);
    row->addWidget(new QLabel(tr("Position:"), this));
    row->addWidget(m_list);
    row->addStretch(1);
    row->addWidget(copy);
    layout->addLayout(row);
    resize(820, 600);
    // The comparison reads its projects at every recomputation: it goes when either goes.
    m_listener = AddObjectGoingListener([this](const void* object) {
        if (!object || (object != m_daq && object != m_model))
            return;
        m_daq = nullptr;
        m_model = nullptr;
        if (GetInstance() == this)
            DestroyInstance();
        else
            deleteLater();
    });
}

CDlgDaqERComp::~CDlgDaqERComp()
{
    RemoveObjectGoingListener(m_listener);
}

int CDlgDaqERComp::Initialize(CDaqProject* daq)
{
    m_daq = daq;
    CTALVOProject* container = daq ? daq->GetOwner() : nullptr;
    m_model = container ? container->GetModelProject() : nullptr;
    if (!m_daq || !container || !m_model)
        return 0;
    int kind = -1;
    double start = 0.0, end = 0.0;
    m_model->GetModelDataParams(&kind, &start, &end);
    COctaveManager modelBands(kind, start, end);
    COctaveManagerEx* daqBands = m_daq->GetOctaveManager();
    COctFreqIndexMap map(daqBands, &modelBands);
    map.Build();
    // The map runs from DAQ bands to model bands; the comparison reads it per model band: the
    // DAQ band that maps onto it.
    const std::vector<double> modelFreqs = modelBands.GetFreqArray();
    std::vector<int> perModelBand(modelFreqs.size(), -1);
    for (int d = 0; d < map.GetSize(); ++d) {
        const int m = map.GetAt(d);
        if (m >= 0 && m < static_cast<int>(perModelBand.size()) && perModelBand[static_cast<size_t>(m)] < 0)
            perModelBand[static_cast<size_t>(m)] = d;
    }
    m_data = CDaqERCompData();
    m_data.SetBands(modelFreqs, perModelBand);

    CWaitCursor wait;
    CAveExpData average(m_daq);
    auto measured = [&average](const std::string& name, std::vector<std::vector<double>>& values,
                               std::vector<double>& rpms) {
        std::unique_ptr<CZuRpmFunc> f = average.AverageRpmFuncs(name, nullptr, 0, nullptr);
        if (!f)
            return false;
        values = Measured(*f, name, 0.0).values;
        rpms.clear();
        for (int r = 0; r < f->GetRpmCount(); ++r)
            rpms.push_back(f->GetRpm(r));
        return true;
    };
    auto factorOf = [this, container](const std::string& name, double& factor) {
        const CModelSubsystem* s = container->FindModelSubsystem(name);
        if (!s)
            return false;
        factor = s->GetMassOrVolume();
        if (m_daq->IsAcoustic(name))
            factor /= CDaqERCompData::kRhoC2;
        return true;
    };
    auto mirror = [](const std::string& name, std::string& mirrored) {
        return CGfxUtil::GetSymmetricSubsystem(name, &mirrored) != 0;
    };
    std::vector<std::string> sources = container->GetSourceSubsystems().Names();
    std::string missing;
    std::vector<std::string> skipped;
    const bool loaded =
        m_data.Load(sources, container->GetTargetSubsystem(), measured, factorOf, mirror, missing, skipped);
    if (!missing.empty()) {
        AfxFormatMessageBox(IDS_NO_MEASURED_DATA, MB_OK | MB_ICONEXCLAMATION, missing.c_str());
        return 0;
    }
    std::string text;
    for (const std::string& name : skipped)
        text += FormatString(IDS_NO_MODEL_SUBSYSTEM, name.c_str()) + "\n";
    if (!text.empty())
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    if (!loaded)
        return 0;
    m_data.SetSpeakerRatio([this](const std::string& s, const std::string& tg, std::vector<double>& er) {
        return Ratio(s, tg, false, er);
    });
    m_data.SetModelRatio([this](const std::string& s, const std::string& tg, std::vector<double>& er) {
        return Ratio(s, tg, true, er);
    });
    return 1;
}

bool CDlgDaqERComp::Ratio(const std::string& s, const std::string& t, bool model, std::vector<double>& er) const
{
    if (!m_model)
        return false;
    if (model && !m_model->IsStructure(s) && !m_model->IsStructure(t)) {
        // Between two cavities the model's coupling over the target's total damping.
        CHSEAModelData* hsea = m_model->GetHSEAModelData();
        auto* clf = dynamic_cast<CZuClfFunc*>(m_model->FindClf(s + "-", t + "-"));
        const int k = clf ? clf->GetIndex(s + "-") : -1;
        if (hsea && clf && k >= 0) {
            std::vector<double> c, d;
            for (int b = 0; b < clf->GetDataCount(); ++b) {
                c.push_back(clf->DataValue(b, k));
                d.push_back(hsea->ExtractTotalDlf(t + "-", static_cast<unsigned>(b), &*CStatusBarFallback(nullptr)));
            }
            er = CDaqERCompData::CouplingRatio(c, d);
            return true;
        }
    }
    auto* f =
        dynamic_cast<CZuFunc*>(model ? m_model->FindEnergyRatioFunc(s, t) : m_model->FindExpEnergyRatioFunc(s, t));
    if (!f)
        return false;
    er = Values(*f);
    return true;
}

bool CDlgDaqERComp::OnInitDialog()
{
    FillList();
    ComputeAndDraw();
    return true;
}

void CDlgDaqERComp::FillList()
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    if (m_axis == 0)
        for (size_t r = 0; r < m_data.GetRpms().size(); ++r)
            m_list->addItem(QString::fromStdString(Format("%gRPM", m_data.GetRpms()[r])), static_cast<int>(r));
    else
        for (size_t b = 0; b < m_data.GetModelFreqs().size(); ++b)
            m_list->addItem(QString::fromStdString(Format("%gHz", m_data.GetModelFreqs()[b])), static_cast<int>(b));
    if (m_list->count() > 0)
        m_list->setCurrentIndex(0);
}

void CDlgDaqERComp::SetAxis(int axis)
{
    m_axis = axis == 1 ? 1 : 0;
    m_axisRadio[m_axis]->setChecked(true);
    FillList();
    ComputeAndDraw();
}

void CDlgDaqERComp::SelectPosition(int index)
{
    if (index < 0 || index >= m_list->count())
        return;
    m_list->setCurrentIndex(index);
    ComputeAndDraw();
}

void CDlgDaqERComp::ComputeAndDraw()
{
    if (m_list->currentIndex() < 0)
        return;
    m_data.Compute(m_axis, m_list->currentData().toInt());
    // Every pair without a ratio is named, all in one message per computation.
    std::string missing;
    for (const auto& [s, t] : m_data.GetMissingSpeaker())
        missing += FormatString(IDS_NO_SPEAKER_ER, s.c_str(), t.c_str()) + "\n";
    for (const auto& [s, t] : m_data.GetMissingModel())
        missing += FormatString(IDS_NO_MODEL_ER, s.c_str(), t.c_str()) + "\n";
    Draw();
    if (!missing.empty())
        AfxMessageBox(missing, MB_OK | MB_ICONEXCLAMATION);
}

void CDlgDaqERComp::Draw()
{
    CZuChart& chart = *m_chart;
    chart.ClearChart();
    // Energies above, their differences below on a smaller axis rectangle.
    QCPAxisRect* lower = nullptr;
    if (chart.axisRectCount() < 2) {
        lower = new QCPAxisRect(&chart);
        chart.plotLayout()->addElement(chart.plotLayout()->rowCount(), 0, lower);
        auto* margins = new QCPMarginGroup(&chart);
        chart.axisRect(0)->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        lower->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    } else {
        lower = chart.axisRect(1);
    }
    const int upperRow = chart.plotLayout()->rowCount() - 2;
    chart.plotLayout()->setRowStretchFactor(upperRow, 0.7);
    chart.plotLayout()->setRowStretchFactor(upperRow + 1, 0.3);
    QCPAxis* diffX = lower->axis(QCPAxis::atBottom);
    QCPAxis* diffY = lower->axis(QCPAxis::atLeft);

    const std::vector<double>& x = m_data.GetX(m_axis);
    QVector<double> keys(x.begin(), x.end());
    auto values = [](const std::vector<double>& v, bool positiveOnly) {
        QVector<double> y;
        for (double d : v)
            y << (positiveOnly && !(d > 0.0) ? std::numeric_limits<double>::quiet_NaN() : d);
        return y;
    };
    struct Curve
    {
        const char* name;
        QColor color;
    };
    const Curve curves[] = {
        {"This", QColor(255, 0, 0)}, {"Speaker/Tapping", QColor(0, 128, 0)}, {"Model", QColor(0, 0, 128)}};
    const std::vector<double>* energies[] = {&m_data.ByExp(), &m_data.BySpeaker(), &m_data.ByModel()};
    double low = std::numeric_limits<double>::max(), high = 0.0;
    for (int c = 0; c < 3; ++c) {
        QCPGraph* g = chart.addGraph(chart.xAxis, chart.yAxis);
        g->setName(curves[c].name);
        g->setData(keys, values(*energies[c], true), true);
        g->setPen(QPen(curves[c].color, 1.5));
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 4));
        for (double v : *energies[c])
            if (v > 0.0) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
    }
    const std::vector<double> diffs[] = {m_data.Difference(m_data.BySpeaker()), m_data.Difference(m_data.ByModel())};
    double dLow = -1.0, dHigh = 1.0;
    for (int c = 0; c < 2; ++c) {
        QCPGraph* g = chart.addGraph(diffX, diffY);
        g->setName(curves[c + 1].name);
        g->setData(keys, values(diffs[c], false), true);
        g->setPen(QPen(curves[c + 1].color, 1.5));
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 4));
        for (double v : diffs[c])
            if (std::isfinite(v)) {
                dLow = std::min(dLow, v);
                dHigh = std::max(dHigh, v);
            }
        g->removeFromLegend();
    }
    chart.SetTitle(QString::fromStdString(Format("Target Energy [%s]", m_data.GetTarget().name.c_str())));
    for (QCPAxis* axis : {chart.xAxis, diffX}) {
        if (m_axis == 0 && !keys.isEmpty() && keys.front() > 0.0)
            CZuChart::SetLogAxis(axis, std::pow(10.0, std::floor(std::log10(keys.front()))),
                                 std::pow(10.0, std::ceil(std::log10(keys.back()))));
        else if (!keys.isEmpty()) {
            axis->setScaleType(QCPAxis::stLinear);
            axis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
            axis->setRange(keys.front(), keys.back() > keys.front() ? keys.back() : keys.front() + 1.0);
        }
    }
    diffX->setLabel(m_axis == 0 ? QStringLiteral("Freq [Hz]") : QStringLiteral("RPM"));
    chart.xAxis->setLabel(QString());
    chart.yAxis->setLabel(QStringLiteral("Energy [J]"));
    if (high > 0.0)
        CZuChart::SetLogAxis(chart.yAxis, std::pow(10.0, std::floor(std::log10(low))),
                             std::pow(10.0, std::ceil(std::log10(high))));
    diffY->setLabel(QStringLiteral("Diff. [dB]"));
    diffY->setRange(std::floor(dLow) - 1.0, std::ceil(dHigh) + 1.0);
    CZuChart::PlaceLegendBelow(chart);
    chart.legend->setVisible(true);
    chart.replot();
}

bool CDlgDaqERComp::Copy()
{
    if (SetClipboardText(m_data.CopyText()))
        return true;
    AfxMessageBox("Clipboard cannot be opened!");
    return false;
}

void CDlgDaqERComp::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    CZuDialog::keyPressEvent(event);
}
