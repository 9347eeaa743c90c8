#include "acquisition/ui/FormProgress.h"

#include "acquisition/DAQExeManager.h"
#include "acquisition/MultiQMXInterface.h"
#include "platform/base/Format.h"
#include "platform/base/MsClock.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/QueuedMessageTarget.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The window leaves the registry at once; it goes by itself afterwards.
void Leave(const CFormProgress* form)
{
    if (CFormProgress::GetInstance() == form)
        CFormProgress::Instances().Release(CFormProgress::ProgramKey());
}

constexpr const char* kWait = "<< Wait ... >>";
constexpr const char* kReady = "<< Start >>";
constexpr const char* kFace = "Arial Black";
constexpr int kPointSize = 23;
constexpr int kProgressSteps = 1000;
} // namespace

CFormProgress* CFormProgress::CreateInstance(QWidget* parent, IMessageTarget* owner, CMultiQMXInterface* units)
{
    return Instances().RegisterNew(ProgramKey(), [&] { return new CFormProgress(parent, owner, units); });
}

bool CFormProgress::DestroyInstance()
{
    // Gone at once, not on the next loop turn.
    QWidget* form = Instances().Release(ProgramKey());
    delete form;
    return form != nullptr;
}

CFormProgress::CFormProgress(QWidget* parent, IMessageTarget* owner, CMultiQMXInterface* units)
    : CZuDialog(parent, 4013), m_owner(owner), m_units(units)
{
    setObjectName(QStringLiteral("FormProgress"));
    setWindowTitle(QStringLiteral("Sampling"));
    m_target =
        std::make_unique<CQueuedMessageTarget>([this](uint32_t msg, uintptr_t, intptr_t) { return OnMessage(msg); });

    m_startButton = new QPushButton(QStringLiteral("Start"), this);
    m_startButton->setObjectName(QStringLiteral("Start3066"));
    m_stopButton = new QPushButton(QStringLiteral("Stop"), this);
    m_stopButton->setObjectName(QStringLiteral("Stop3065"));
    connect(m_startButton, &QPushButton::clicked, this, &CFormProgress::OnStart);
    connect(m_stopButton, &QPushButton::clicked, this, &CFormProgress::OnStop);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("RunProgress"));
    m_progress->setRange(0, kProgressSteps);
    m_progress->setValue(0);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addSpacing(12);
    buttons->addWidget(m_startButton);
    buttons->addWidget(m_stopButton);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1); // the texts are drawn above the buttons
    layout->addLayout(buttons);

    // Room for the three drawn lines and the longest status.
    const QFontMetrics fm(TextFont());
    const int textWidth = fm.horizontalAdvance(QString::fromLatin1(CDAQExeManager::kTransferDoneText));
    setMinimumSize(std::max(60 + textWidth, 360), 90 + fm.height() + m_startButton->sizeHint().height() + 30);

    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(10);
    connect(m_pollTimer, &QTimer::timeout, this, [this] { OnTimer(2); });
    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(100);
    connect(m_clockTimer, &QTimer::timeout, this, [this] { OnTimer(1); });
}

CFormProgress::~CFormProgress() = default;

QFont CFormProgress::TextFont() const
{
    QFont font;
    if (QFontDatabase::families().contains(QString::fromLatin1(kFace))) {
        font = QFont(QString::fromLatin1(kFace));
    } else {
        // Without the face the status must still stand out.
        font.setBold(true);
    }
    font.setPointSize(kPointSize);
    return font;
}

bool CFormProgress::IsTimerActive(int id) const
{
    return (id == 1 ? m_clockTimer : m_pollTimer)->isActive();
}

bool CFormProgress::OnInitDialog()
{
    m_status = kWait;
    SetTimeText(0.0);
    m_third.clear();
    m_startButton->setEnabled(true);
    m_stopButton->setEnabled(false);
    m_pollTimer->start();
    return true;
}

void CFormProgress::SetStatusText(const std::string& text)
{
    m_status = text;
    update();
}

void CFormProgress::ShowRunText(const std::string& text)
{
    m_clockTimer->stop();
    SetStatusText(text);
}

void CFormProgress::SetProgress(double fraction)
{
    m_progress->setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * kProgressSteps));
}

void CFormProgress::SetTimeText(double seconds)
{
    m_time = Format("Sampling Time: %3.1f sec", seconds);
}

void CFormProgress::SendToOwner(uint32_t msg)
{
    if (m_owner)
        m_owner->SendMessage(msg, 0, 0);
}

void CFormProgress::OnTimer(int id)
{
    if (id == 2) {
        if (!m_units || m_units->AreAllUnitsIdle()) {
            m_pollTimer->stop();
            m_startButton->setEnabled(true);
            m_status = kReady;
            update();
        } else {
            m_startButton->setEnabled(false);
        }
    } else if (id == 1) {
        SetTimeText(CMsClock::Since(m_startTime) * 0.001);
        update();
    }
}

void CFormProgress::OnStart()
{
    m_startButton->setEnabled(false);
    m_stopButton->setEnabled(true);
    m_status = CDAQExeManager::kSamplingText;
    update();
    m_startTime = CMsClock::Now();
    m_clockTimer->start();
    SendToOwner(WM_ZU_SAMPLING_START);
}

void CFormProgress::OnStop()
{
    m_startButton->setEnabled(false);
    m_stopButton->setEnabled(false);
    m_status = kWait;
    update();
    SendToOwner(WM_ZU_SAMPLING_STOP);
}

intptr_t CFormProgress::OnMessage(uint32_t msg)
{
    switch (msg) {
    case WM_ZU_SAMPLING_ENDED:
        m_clockTimer->stop();
        m_startButton->setEnabled(false);
        m_stopButton->setEnabled(false);
        m_status = CDAQExeManager::kTransferText;
        update();
        break;
    case WM_ZU_SAMPLING_DESTROY:
        // Not deleted here: this runs inside the window's own message target.
        m_clockTimer->stop();
        m_pollTimer->stop();
        Leave(this);
        DestroyWindow();
        break;
    default:
        break;
    }
    return 0;
}

void CFormProgress::OnCancel()
{
    m_clockTimer->stop();
    m_pollTimer->stop();
    hide();
    SendToOwner(WM_ZU_SAMPLING_CLOSED);
    Leave(this);
    if (IsModeless())
        DestroyWindow();
    else
        CZuDialog::OnCancel();
}

void CFormProgress::closeEvent(QCloseEvent* event)
{
    // Closing only stops the clocks; the run's owner ends the window.
    m_clockTimer->stop();
    m_pollTimer->stop();
    event->ignore();
}

void CFormProgress::paintEvent(QPaintEvent* event)
{
    CZuDialog::paintEvent(event);
    QPainter p(this);
    p.setFont(TextFont());
    p.setPen(palette().color(QPalette::WindowText));
    const int ascent = QFontMetrics(p.font()).ascent();
    p.drawText(30, 10 + ascent, QString::fromStdString(m_status));
    p.drawText(30, 50 + ascent, QString::fromStdString(m_time));
    p.drawText(30, 90 + ascent, QString::fromStdString(m_third));
}
