#include "acquisition/ui/DlgAccelRpm.h"

#include "acquisition/ui/Meter.h"
#include "experiments/ExpData.h"
#include "experiments/ExpProject.h"
#include "platform/base/Format.h"
#include "platform/base/MsClock.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/QueuedMessageTarget.h"
#include "platform/win/StringIds.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QColor kMeasuredColour(0, 0, 128);
const QColor kMarginColour(255, 69, 0);
} // namespace

CDlgAccelRpm* CDlgAccelRpm::CreateInstance(QWidget* parent, IMessageTarget* owner)
{
    return Instances().RegisterNew(ProgramKey(), [&] { return new CDlgAccelRpm(parent, owner); });
}

void CDlgAccelRpm::DestroyInstance()
{
    CDlgAccelRpm* dialog = GetInstance();
    if (!dialog)
        return;
    dialog->m_timer->stop();
    // The window may be inside one of its own handlers: the registry lets it go on the next loop
    // turn.
    Instances().Close(ProgramKey());
}

CDlgAccelRpm* CDlgAccelRpm::ShowStoredPulse(CExpData& pulse, int compact, QWidget* parent)
{
    CExpProject* project = pulse.GetExpProject();
    CDlgAccelRpm* dialog = GetInstance();
    if (dialog) {
        dialog->showNormal();
        dialog->raise();
    } else {
        dialog = CreateInstance(parent);
        if (project && project->GetDAQConfig())
            dialog->SetDAQConfig(*project->GetDAQConfig());
        dialog->SetBands(project ? project->GetOctaveManager() : nullptr);
        dialog->SetEngineCount(pulse.GetEngineCount());
        dialog->SetPulseCount(pulse.GetPulseCount());
        dialog->SetCompact(compact);
        dialog->Create();
    }
    dialog->SetMode(1);
    dialog->OnMessage(WM_ZU_RUNUP_SAMPLES, reinterpret_cast<uintptr_t>(pulse.GetData()), pulse.GetSampleCount());
    return dialog;
}

CDlgAccelRpm::CDlgAccelRpm(QWidget* parent, IMessageTarget* owner) : CZuDialog(parent, 4001), m_owner(owner)
{
    setObjectName(QStringLiteral("DlgAccelRpm"));
    setWindowTitle(QStringLiteral("Run-up RPM Diagnosis"));
    m_target = std::make_unique<CQueuedMessageTarget>(
        [this](uint32_t msg, uintptr_t wParam, intptr_t lParam) { return OnMessage(msg, wParam, lParam); });
    m_analysis.SetDAQConfig(&m_config);

    m_meter = new CMeter(this);
    m_meter->setObjectName(QStringLiteral("Meter3167"));
    m_meter->SetRange(0.0, 10.0);
    m_meter->SetUnitText(QStringLiteral("x1000 RPM"));
    m_rpmLabel = new QLabel(this);
    m_rpmLabel->setObjectName(QStringLiteral("Text3257"));
    m_elapsedLabel = new QLabel(this);
    m_elapsedLabel->setObjectName(QStringLiteral("Text3256"));
    for (QLabel* label : {m_rpmLabel, m_elapsedLabel}) {
        QFont f = label->font();
        f.setPointSize(f.pointSize() + 4);
        f.setBold(true);
        label->setFont(f);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        label->setMinimumWidth(QFontMetrics(f).horizontalAdvance(QStringLiteral("00000.0 RPM")) + 16);
        label->setMinimumHeight(QFontMetrics(f).height() + 8);
    }
    m_recordButton = new QPushButton(QStringLiteral("Record Now"), this);
    m_recordButton->setObjectName(QStringLiteral("Button3265"));
    m_stopButton = new QPushButton(QString::fromStdString(MessageTextOf(IDS_STOP)), this);
    m_stopButton->setObjectName(QStringLiteral("Button3000"));
    m_stopButton->setAutoDefault(false);
    m_recordButton->setAutoDefault(false);

    auto* gauge = new QGroupBox(QStringLiteral("Engine speed"), this);
    gauge->setObjectName(QStringLiteral("Frame3168"));
    auto* g = new QVBoxLayout(gauge);
    g->addWidget(m_meter, 1);
    g->addWidget(m_rpmLabel);
    g->addWidget(m_elapsedLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_recordButton);
    buttons->addStretch(1);
    buttons->addWidget(m_stopButton);
    auto* left = new QVBoxLayout;
    left->addWidget(gauge, 1);
    left->addLayout(buttons);

    m_chartArea = new QWidget(this);
    m_chart = new CZuChart(m_chartArea);
    m_chart->setObjectName(QStringLiteral("Chart3150"));
    m_chart->setMinimumSize(420, 260);
    auto* c = new QVBoxLayout(m_chartArea);
    c->setContentsMargins(0, 0, 0, 0);
    c->addWidget(m_chart);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 0);
    layout->addWidget(m_chartArea, 1);

    m_timer = new QTimer(this);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &CDlgAccelRpm::OnTimer);
    connect(m_stopButton, &QPushButton::clicked, this, &CDlgAccelRpm::OnStopButton);
    connect(m_recordButton, &QPushButton::clicked, this, &CDlgAccelRpm::OnRecordButton);
}

CDlgAccelRpm::~CDlgAccelRpm()
{
    m_timer->stop();
}

void CDlgAccelRpm::SetDAQConfig(const CDAQConfig& config)
{
    m_config = config;
}

void CDlgAccelRpm::SetBands(const COctaveManager* bands)
{
    m_bands = bands;
    m_analysis.SetBands(bands);
}

void CDlgAccelRpm::SetEngineCount(int count)
{
    m_analysis.SetEngineCount(count);
}

void CDlgAccelRpm::SetPulseCount(int count)
{
    m_analysis.SetPulseCount(count);
}

void CDlgAccelRpm::SetMode(int mode)
{
    if (mode == 0)
        m_stopButton->setText(QString::fromStdString(MessageTextOf(IDS_STOP)));
    else if (mode == 1)
        m_stopButton->setText(QString::fromStdString(MessageTextOf(IDS_CLOSE_RUN)));
}

bool CDlgAccelRpm::IsTimerActive() const
{
    return m_timer->isActive();
}

bool CDlgAccelRpm::OnInitDialog()
{
    m_recordButton->setEnabled(m_compact == 0);
    Reset();
    SetUpChart();
    if (m_compact == 1) {
        // The compact window is the gauge and its buttons only.
        m_chartArea->hide();
        adjustSize();
    }
    return CZuDialog::OnInitDialog();
}

void CDlgAccelRpm::Reset()
{
    m_rpm = 0.0f;
    m_startTime = 0;
    m_analysis.Reset();
}

void CDlgAccelRpm::SetUpChart()
{
    m_chart->ClearChart();
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    m_chart->SetTitle(QStringLiteral("Acceleration Diagnosis"));
    if (auto* title = qobject_cast<QCPTextElement*>(m_chart->plotLayout()->element(0, 0)))
        title->setFont(titleFont);
    const QFont labelFont(QStringLiteral("Arial"));
    m_chart->xAxis->setLabel(QStringLiteral("Time [s]"));
    m_chart->yAxis->setLabel(QStringLiteral("Delta RPM / Delta T [RPM]"));
    m_chart->xAxis->setLabelFont(labelFont);
    m_chart->yAxis->setLabelFont(labelFont);

    QCPGraph* measured = m_chart->addGraph();
    measured->setName(QStringLiteral("Delta RPM per block"));
    measured->setPen(QPen(kMeasuredColour, 2));
    measured->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 4));
    QCPGraph* margin = m_chart->addGraph();
    margin->setName(QStringLiteral("RPM margin"));
    margin->setPen(QPen(kMarginColour, 2));
    CZuChart::PlaceLegendBelow(*m_chart);
    m_chart->legend->setVisible(true);
    m_chart->legend->setFont(labelFont);
    Redraw();
}

void CDlgAccelRpm::Redraw()
{
    if (m_chart->graphCount() < 2)
        return;
    const std::vector<double> values = m_analysis.Series();
    const double margin = m_analysis.GetMargin();
    const float fs = m_config.GetSamplingFreq();
    const double blockTime = fs > 0.0f ? m_analysis.GetBlockSize() / static_cast<double>(fs) : 0.0;
    QVector<double> x;
    QVector<double> y;
    QVector<double> limit;
    for (size_t i = 0; i < values.size(); ++i) {
        x.push_back(static_cast<double>(i + 1) * blockTime);
        y.push_back(values[i]);
        limit.push_back(margin);
    }
    m_chart->graph(0)->setData(x, y, true);
    m_chart->graph(1)->setData(x, limit, true);
    const double right = x.isEmpty() ? 1.0 : x.back() + blockTime;
    m_chart->xAxis->setRange(0.0, right > 0.0 ? right : 1.0);
    // The margin is the reference: the axis runs from 0 to 1.1 times it.
    m_chart->yAxis->setRange(0.0, margin > 0.0 ? 1.1 * margin : 1.0);
    m_chart->replot();
}

void CDlgAccelRpm::ShowTexts()
{
    m_rpmLabel->setText(QString::fromStdString(m_rpmText));
    m_elapsedLabel->setText(QString::fromStdString(m_elapsedText));
    m_rpmLabel->show();
    m_elapsedLabel->show();
}

void CDlgAccelRpm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && m_elapsedSeconds >= 0.0) {
        SetElapsed(m_elapsedSeconds);
        ShowTexts();
    }
    CZuDialog::changeEvent(event);
}

void CDlgAccelRpm::SetElapsed(double seconds)
{
    m_elapsedSeconds = seconds;
    m_elapsedText = Format(MessageTextOf(IDS_ELAPSED_SECONDS).c_str(), seconds);
}

intptr_t CDlgAccelRpm::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case WM_ZU_RUNUP_RPM: {
        const auto* rpm = reinterpret_cast<const float*>(wParam);
        if (!rpm)
            return 1;
        m_rpm = *rpm;
        m_meter->SetValue(m_rpm * 0.001);
        m_rpmText = Format("%4.1f RPM", static_cast<double>(m_rpm));
        ShowTexts();
        return 0;
    }
    case WM_ZU_RUNUP_UPDATE:
        Redraw();
        return 0;
    case WM_ZU_RUNUP_DESTROY:
        DestroyInstance();
        return 0;
    case WM_ZU_RUNUP_ENABLE: {
        const bool enable = lParam != 0;
        m_stopButton->setEnabled(enable);
        m_rpmLabel->setEnabled(enable);
        m_elapsedLabel->setEnabled(enable);
        m_recordButton->setEnabled(m_compact != 0 && enable);
        if (enable) {
            SetElapsed(0.0);
        } else {
            m_elapsedText.clear();
            m_elapsedSeconds = -1.0;
        }
        ShowTexts();
        return 0;
    }
    case WM_ZU_RUNUP_ELAPSED_TEXT:
        if (const auto* text = reinterpret_cast<const char*>(lParam)) {
            m_elapsedText = text;
            m_elapsedSeconds = -1.0;
        }
        ShowTexts();
        return 0;
    case WM_ZU_RUNUP_RECORDING_STARTED:
        m_startTime = CMsClock::Now();
        m_timer->start();
        return 0;
    case WM_ZU_RUNUP_RECORDING_ENDED:
        m_timer->stop();
        return 0;
    case WM_ZU_RUNUP_RESET:
        Reset();
        Redraw();
        return 0;
    case WM_ZU_RUNUP_SAMPLES:
        Reset();
        if (lParam > 0 && lParam <= INT32_MAX)
            m_analysis.Analyse(reinterpret_cast<const float*>(wParam), static_cast<int>(lParam));
        Redraw();
        return 0;
    default:
        return 0;
    }
}

void CDlgAccelRpm::OnTimer()
{
    SetElapsed(CMsClock::Since(m_startTime) * 0.001);
    ShowTexts();
}

void CDlgAccelRpm::OnStopButton()
{
    if (m_owner)
        m_owner->SendMessage(WM_ZU_DAQ_STOP);
    DestroyInstance();
}

void CDlgAccelRpm::OnRecordButton()
{
    m_recordButton->setEnabled(false);
    if (m_owner)
        m_owner->SendMessage(WM_ZU_DAQ_RECORD_START);
}

void CDlgAccelRpm::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape do not close the window while it watches a run.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CZuDialog::keyPressEvent(event);
}

void CDlgAccelRpm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    OnStopButton();
}
