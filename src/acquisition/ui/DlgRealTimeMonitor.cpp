#include "acquisition/ui/DlgRealTimeMonitor.h"

#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/RpmChannelSetup.h"
#include "acquisition/ui/EnsureQMXConnection.h"
#include "common/ProjectLookups.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpProject.h"
#include "platform/elements/MElement.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/QueuedMessageTarget.h"
#include "platform/win/StringIds.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CDlgRealTimeMonitor* CDlgRealTimeMonitor::CreateInstance(QWidget* parent)
{
    return Instances().RegisterNew(ProgramKey(), [parent] { return new CDlgRealTimeMonitor(parent); });
}

void CDlgRealTimeMonitor::DestroyInstance()
{
    CDlgRealTimeMonitor* dialog = GetInstance();
    if (!dialog)
        return;
    dialog->OnStopRun();
    Instances().Close(ProgramKey());
}

CDlgRealTimeMonitor* CDlgRealTimeMonitor::Open(CExpProject* project, QWidget* parent)
{
    CDlgRealTimeMonitor* dialog = CreateInstance(parent);
    if (!dialog) {
        dialog = GetInstance();
        dialog->showNormal();
        dialog->raise();
        return dialog;
    }
    dialog->SetDAQProject(project);
    dialog->SetChannel(project ? project->GetRpmSignalChannel() : -1);
    dialog->Create();
    return dialog;
}

CDlgRealTimeMonitor::CDlgRealTimeMonitor(QWidget* parent) : CZuDialog(parent, 4056)
{
    setObjectName(QStringLiteral("DlgRealTimeMonitor"));
    setWindowTitle(QStringLiteral("Real Time Monitor"));
    m_target = std::make_unique<CQueuedMessageTarget>(
        [this](uint32_t msg, uintptr_t wParam, intptr_t lParam) { return OnMessage(msg, wParam, lParam); });

    m_startButton = new QPushButton(QStringLiteral("Start"), this);
    m_startButton->setObjectName(QStringLiteral("Button1169"));
    m_stopButton = new QPushButton(QStringLiteral("Stop"), this);
    m_stopButton->setObjectName(QStringLiteral("Button1170"));
    for (QPushButton* b : {m_startButton, m_stopButton}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
    }
    m_chart = new CZuChart(this);
    m_chart->setObjectName(QStringLiteral("Chart3149"));
    m_chart->setMinimumSize(480, 300);
    m_chart->xAxis->setLabel(QStringLiteral("Time [s]"));
    m_chart->yAxis->setLabel(QStringLiteral("Engine speed [RPM]"));
    m_chart->xAxis->setRange(0.0, 10.0);
    m_chart->yAxis->setRange(0.0, 8000.0);

    auto* commands = new QHBoxLayout;
    commands->addWidget(m_startButton);
    commands->addWidget(m_stopButton);
    commands->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(commands);
    // The chart takes the whole window below the commands, whatever its size.
    layout->addWidget(m_chart, 1);
    connect(m_startButton, &QPushButton::clicked, this, &CDlgRealTimeMonitor::OnStartRun);
    connect(m_stopButton, &QPushButton::clicked, this, &CDlgRealTimeMonitor::OnStopRun);
}

CDlgRealTimeMonitor::~CDlgRealTimeMonitor()
{
    // The interface may have gone with the program's end; asking for it would make a new one.
    if (m_manager.IsRunning() && CDAQ::Exists())
        m_manager.Stop();
    EndRun();
}

void CDlgRealTimeMonitor::SetChannel(int channel)
{
    if (channel >= 0)
        m_channel = channel;
    if (m_project && m_channel >= 1)
        CDAQ::GetInterface();
}

void CDlgRealTimeMonitor::ShowRpm(float rpm, CMultiQMXInterface* daq)
{
    if (!daq)
        daq = CDAQ::Exists() ? CDAQ::GetMultiInterface() : nullptr;
    const float rate = daq ? daq->GetSampleRate() : 0.0f;
    QCPGraph* curve = m_chart->Curve(0);
    const double last = curve && !curve->data()->isEmpty() ? (curve->data()->constEnd() - 1)->key : -1.0;
    double seconds = rate > 0.0f ? daq->GetLiveSampleCount() / static_cast<double>(rate) : last + 0.1;
    if (!curve || seconds < last) {
        // A new run: its own curve from its start.
        m_chart->ClearChart();
        m_chart->xAxis->setLabel(QStringLiteral("Time [s]"));
        m_chart->yAxis->setLabel(QStringLiteral("Engine speed [RPM]"));
        curve = m_chart->AddCurve(QStringLiteral("RPM"), {}, {});
    }
    if (seconds <= last)
        seconds = last + 1e-3;
    curve->addData(seconds, rpm);
    m_chart->xAxis->setRange(0.0, std::max(10.0, seconds));
    m_chart->yAxis->setRange(0.0, std::max(8000.0, static_cast<double>(rpm) * 1.1));
    m_chart->replot(QCustomPlot::rpQueuedReplot);
}

bool CDlgRealTimeMonitor::OnInitDialog()
{
    const bool r = CZuDialog::OnInitDialog();
    SetChannel(-1);
    return r;
}

void CDlgRealTimeMonitor::OnStartRun()
{
    if (!m_project)
        return;
    auto* daqElement = dynamic_cast<CMElement*>(m_project->GetDAQProject());
    if (!EnsureQMXConnection(IProjectLookups::FindOwner(daqElement), 0, 1, this))
        return;
    CMultiQMXInterface* daq = CDAQ::GetMultiInterface();
    if (!daq)
        return;
    const int channel = m_project->GetRpmSignalChannel();
    if (!CRpmChannelSetup::Prepare(*daq, channel)) {
        AfxFormatMessageBox(IDS_CHANNEL_FAILED, MB_OK | MB_ICONEXCLAMATION, channel + 1);
        return;
    }
    m_manager.SetOwnerProject(m_project->GetDAQProject());
    m_manager.SetSupport(this);
    m_manager.SetDAQConfig(m_project->GetDAQConfig());
    m_manager.Prepare();

    daq->SetNotifyWindow(m_target.get(), WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
    m_notifying = true;
    if (!m_manager.Start()) {
        AfxMessageBox(IDS_RUN_NOT_STARTED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    daq->SetUnitsFlag(1);
    m_holdOff = true;
}

void CDlgRealTimeMonitor::OnStopRun()
{
    m_manager.Stop();
    EndRun();
}

void CDlgRealTimeMonitor::EndRun()
{
    if (!CDAQ::Exists())
        return;
    CMultiQMXInterface* daq = CDAQ::GetMultiInterface();
    if (!daq)
        return;
    // Left set, the flags would keep the measured-data window deaf to every later run.
    if (m_holdOff) {
        daq->SetUnitsFlag(0);
        m_holdOff = false;
    }
    if (m_notifying && !m_manager.IsRunning()) {
        daq->SetNotifyWindow(nullptr, 0, 0, 0);
        m_notifying = false;
    }
}

intptr_t CDlgRealTimeMonitor::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case WM_ZU_MONITOR_REFRESH:
        SetChannel(-1);
        return 0;
    case WM_ZU_DAQ_STARTED:
    case WM_ZU_DAQ_STOPPED:
        return 0;
    case WM_ZU_DAQ_STOP:
        OnStopRun();
        return 0;
    case WM_ZU_DAQ_COMPLETE: {
        const intptr_t r = m_manager.OnDAQComplete();
        EndRun();
        return r;
    }
    case WM_ZU_DAQ_DATA:
        SetChannel(-1);
        return m_manager.OnDAQData(wParam, lParam);
    default:
        return 0;
    }
}

void CDlgRealTimeMonitor::OnCancel()
{
    // Esc and the close box: the run stops before the window goes.
    OnStopRun();
    if (GetInstance() == this)
        Instances().Close(ProgramKey());
    else
        DestroyWindow();
}

void CDlgRealTimeMonitor::closeEvent(QCloseEvent* event)
{
    event->accept();
    OnCancel();
}
