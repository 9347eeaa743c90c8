#include "acquisition/ui/DlgEngineRotationSetup.h"

#include "acquisition/DAQ.h"
#include "acquisition/EngineRotationLimits.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/RpmChannelSetup.h"
#include "acquisition/ui/DlgAccelRpm.h"
#include "acquisition/ui/EnsureQMXConnection.h"
#include "app/DaqProject.h"
#include "common/ProjectLookups.h"
#include "experiments/CalcOptions.h"
#include "models/HSEARegOptions.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/base/Format.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/QueuedMessageTarget.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

enum : int
{
    kLow = 3125,
    kHigh = 3090,
    kMargin = 3117,
    kSpan = 3107,
    kMeasureTime = 3096,
    kConstRpm = 3095,
    kFactor = 3100,
    kMarginGiven = 3206,
    kSpanGiven = 3207,
    kRunUp = 3222,
    kConstant = 3215,
    kCheck = 3028,
};

bool ReadInt(QLineEdit* e, int& value)
{
    bool ok = false;
    const int v = e->text().trimmed().toInt(&ok);
    if (ok)
        value = v;
    return ok;
}

bool ReadFloat(QLineEdit* e, float& value)
{
    bool ok = false;
    const float v = e->text().trimmed().toFloat(&ok);
    if (ok && std::isfinite(v))
        value = v;
    return ok && std::isfinite(v);
}

QString Number(double v)
{
    return QString::fromStdString(Format("%g", v));
}
} // namespace

CDlgEngineRotationSetup::CDlgEngineRotationSetup(int mode, QWidget* parent) : CZuDialog(parent, 4034), m_mode(mode)
{
    setObjectName(QStringLiteral("DlgEngineRotationSetup"));
    setWindowTitle(QStringLiteral("Engine Rotation Setup"));
    m_target = std::make_unique<CQueuedMessageTarget>(
        [this](uint32_t msg, uintptr_t wParam, intptr_t lParam) { return OnMessage(msg, wParam, lParam); });
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(kHoldOffMs);
    connect(m_timer, &QTimer::timeout, this, &CDlgEngineRotationSetup::OnTimer);

    for (int id : {kLow, kHigh, kMargin, kSpan, kMeasureTime, kConstRpm, kFactor}) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("Edit%1").arg(id));
        e->setAlignment(Qt::AlignRight);
        e->setMinimumWidth(100);
        m_edits[id] = e;
    }
    const std::pair<int, const char*> radios[] = {{kMarginGiven, "Margin given"},
                                                  {kSpanGiven, "Time span given"},
                                                  {kRunUp, "Run-up over an RPM range"},
                                                  {kConstant, "Constant RPM"}};
    for (auto [id, text] : radios) {
        auto* r = new QRadioButton(QString::fromLatin1(text), this);
        r->setObjectName(QStringLiteral("Radio%1").arg(id));
        m_radios[id] = r;
    }
    auto* derivation = new QButtonGroup(this);
    derivation->addButton(m_radios[kMarginGiven], 0);
    derivation->addButton(m_radios[kSpanGiven], 1);
    auto* rpmMode = new QButtonGroup(this);
    rpmMode->addButton(m_radios[kRunUp], 0);
    rpmMode->addButton(m_radios[kConstant], 1);
    m_minMarginLabel = new QLabel(this);
    m_minMarginLabel->setObjectName(QStringLiteral("Label2071"));
    m_minSpanLabel = new QLabel(this);
    m_minSpanLabel->setObjectName(QStringLiteral("Label2072"));
    for (QLabel* l : {m_minMarginLabel, m_minSpanLabel})
        l->setMinimumWidth(QFontMetrics(l->font()).horizontalAdvance(QStringLiteral("Minimum: 1000 s")) + 8);
    m_checkButton = new QPushButton(QStringLiteral("Check"), this);
    m_checkButton->setObjectName(QStringLiteral("Button3028"));
    m_checkButton->setAutoDefault(false);

    auto* runUp = new QGroupBox(this);
    auto* ru = new QGridLayout(runUp);
    ru->addWidget(m_radios[kRunUp], 0, 0, 1, 3);
    ru->addWidget(new QLabel(QStringLiteral("RPM low [RPM]:"), this), 1, 0);
    ru->addWidget(m_edits[kLow], 1, 1);
    ru->addWidget(new QLabel(QStringLiteral("RPM high [RPM]:"), this), 2, 0);
    ru->addWidget(m_edits[kHigh], 2, 1);
    ru->addWidget(m_radios[kMarginGiven], 3, 0, 1, 3);
    ru->addWidget(new QLabel(QStringLiteral("RPM margin [RPM]:"), this), 4, 0);
    ru->addWidget(m_edits[kMargin], 4, 1);
    ru->addWidget(m_minMarginLabel, 4, 2);
    ru->addWidget(m_radios[kSpanGiven], 5, 0, 1, 3);
    ru->addWidget(new QLabel(QStringLiteral("Time span [s]:"), this), 6, 0);
    ru->addWidget(m_edits[kSpan], 6, 1);
    ru->addWidget(m_minSpanLabel, 6, 2);
    ru->addWidget(m_checkButton, 7, 2);
    ru->setColumnStretch(2, 1);

    auto* constant = new QGroupBox(this);
    auto* co = new QGridLayout(constant);
    co->addWidget(m_radios[kConstant], 0, 0, 1, 3);
    co->addWidget(new QLabel(QStringLiteral("Constant RPM [RPM]:"), this), 1, 0);
    co->addWidget(m_edits[kConstRpm], 1, 1);
    co->addWidget(new QLabel(QStringLiteral("Measurement time [s]:"), this), 2, 0);
    co->addWidget(m_edits[kMeasureTime], 2, 1);
    co->setColumnStretch(2, 1);

    auto* analysis = new QHBoxLayout;
    analysis->addWidget(new QLabel(QStringLiteral("Analysis factor:"), this));
    analysis->addWidget(m_edits[kFactor]);
    analysis->addStretch(1);

    auto* buttons = CDialogButtons::OkCancel(this);
    m_okButton = buttons->button(QDialogButtonBox::Ok);
    m_cancelButton = buttons->button(QDialogButtonBox::Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(runUp);
    layout->addWidget(constant);
    layout->addLayout(analysis);
    layout->addWidget(buttons);

    connect(m_radios[kRunUp], &QRadioButton::clicked, this, &CDlgEngineRotationSetup::OnRunUp);
    connect(m_radios[kConstant], &QRadioButton::clicked, this, &CDlgEngineRotationSetup::OnConstantRpm);
    for (int id : {kMarginGiven, kSpanGiven})
        connect(m_radios[id], &QRadioButton::clicked, this, [this] { RecomputeMinima(true); });
    for (int id : {kHigh, kSpan, kMargin, kLow})
        connect(m_edits[id], &QLineEdit::editingFinished, this, [this] { RecomputeMinima(true); });
    connect(m_edits[kMeasureTime], &QLineEdit::editingFinished, this, &CDlgEngineRotationSetup::SnapMeasureTime);
    connect(m_checkButton, &QPushButton::clicked, this, &CDlgEngineRotationSetup::OnCheck);
}

CDlgEngineRotationSetup::~CDlgEngineRotationSetup()
{
    // Hiding the window moves the focus out of an edit: no recomputing on a half-gone dialog.
    for (auto& [id, edit] : m_edits)
        edit->disconnect(this);
    // The diagnosis window goes first: it talks to this dialog.
    CDlgAccelRpm::DestroyInstance();
    if (m_manager.IsRunning() && CDAQ::Exists())
        m_manager.Stop();
    m_timer->stop();
    ReleaseRun();
}

QLineEdit* CDlgEngineRotationSetup::Edit(int id) const
{
    auto it = m_edits.find(id);
    return it != m_edits.end() ? it->second : nullptr;
}

QRadioButton* CDlgEngineRotationSetup::Radio(int id) const
{
    auto it = m_radios.find(id);
    return it != m_radios.end() ? it->second : nullptr;
}

QLabel* CDlgEngineRotationSetup::Label(int id) const
{
    return id == 2071 ? m_minMarginLabel : id == 2072 ? m_minSpanLabel : nullptr;
}

QPushButton* CDlgEngineRotationSetup::Button(int id) const
{
    switch (id) {
    case kCheck:
        return m_checkButton;
    case IDOK:
        return m_okButton;
    case IDCANCEL:
        return m_cancelButton;
    default:
        return nullptr;
    }
}

void CDlgEngineRotationSetup::LoadFrom(const CDAQConfig& config)
{
    m_nRpmLow = config.GetRpmLow();
    m_nRpmHigh = config.GetRpmHigh();
    m_nRpmMargin = config.GetRpmMargin();
    m_nTimeSpan = static_cast<int>(config.GetTimeSpan());
    m_nConstRpm = config.GetRpmRef();
    m_fMeasureTime = config.GetMeasureTime();
    m_nRpmMode = config.GetOption60();
    m_fFactor = config.GetFactor3();
}

void CDlgEngineRotationSetup::StoreTo(CDAQConfig& config) const
{
    config.SetRpmLow(m_nRpmLow);
    config.SetRpmHigh(m_nRpmHigh);
    config.SetRpmMargin(m_nRpmMargin);
    config.SetTimeSpan(static_cast<float>(m_nTimeSpan));
    config.SetRpmRef(m_nConstRpm);
    config.SetMeasureTime(m_fMeasureTime);
    config.SetOption60(m_nRpmMode);
    config.SetFactor3(m_fFactor);
}

const COctaveManager* CDlgEngineRotationSetup::ModelBands() const
{
    return m_project ? m_project->GetModelOctaveManager() : nullptr;
}

float CDlgEngineRotationSetup::BandFactor() const
{
    return m_project ? m_project->GetCalcOptions()->GetLineCount() : 0.0f;
}

bool CDlgEngineRotationSetup::OnInitDialog()
{
    if (m_project)
        m_work = *m_project->GetDAQConfig();
    EnableByMode();
    CZuDialog::OnInitDialog();
    RecomputeMinima(false);
    SnapMeasureTime();
    m_checkButton->hide();
    return true;
}

void CDlgEngineRotationSetup::ApplyControlSet(bool runUp)
{
    m_checkButton->setEnabled(runUp);
    m_radios[kMarginGiven]->setEnabled(runUp);
    m_radios[kSpanGiven]->setEnabled(runUp);
    for (int id : {kLow, kHigh, kMargin, kSpan})
        m_edits[id]->setReadOnly(!runUp);
    m_edits[kFactor]->setReadOnly(false);
    m_edits[kConstRpm]->setReadOnly(runUp);
    m_edits[kMeasureTime]->setReadOnly(runUp);
}

void CDlgEngineRotationSetup::EnableByMode()
{
    if (m_mode == 2) {
        for (int id : {kRunUp, kConstant, kMarginGiven, kSpanGiven})
            m_radios[id]->setEnabled(false);
        m_checkButton->setEnabled(false);
        m_cancelButton->setEnabled(false);
        for (auto& [id, edit] : m_edits)
            edit->setReadOnly(true);
        return;
    }
    const bool constant = m_nRpmMode != 0;
    m_radios[kRunUp]->setEnabled(m_mode == 0);
    m_radios[kConstant]->setEnabled(m_mode == 0);
    ApplyControlSet(!constant);
    if (m_mode == 1) {
        const std::string option = MessageTextOf(IDS_FIXED_MODE_OPTION);
        const bool allowed = CHSEARegOptions::ReadDWORD(option.c_str(), 0) != 0;
        m_radios[kConstant]->setEnabled(allowed);
        m_edits[kConstRpm]->setEnabled(allowed);
        m_edits[kMeasureTime]->setEnabled(allowed);
    }
}

void CDlgEngineRotationSetup::OnRunUp()
{
    m_nRpmMode = 0;
    ApplyControlSet(true);
}

void CDlgEngineRotationSetup::OnConstantRpm()
{
    m_nRpmMode = 1;
    ApplyControlSet(false);
}

bool CDlgEngineRotationSetup::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_edits[kLow]->setText(QString::number(m_nRpmLow));
        m_edits[kHigh]->setText(QString::number(m_nRpmHigh));
        m_edits[kMargin]->setText(QString::number(m_nRpmMargin));
        m_edits[kSpan]->setText(QString::number(m_nTimeSpan));
        m_edits[kMeasureTime]->setText(Number(m_fMeasureTime));
        m_edits[kConstRpm]->setText(QString::number(m_nConstRpm));
        m_edits[kFactor]->setText(Number(m_fFactor));
        m_radios[kMarginGiven]->setChecked(m_nChoice == 0);
        m_radios[kSpanGiven]->setChecked(m_nChoice == 1);
        m_radios[kRunUp]->setChecked(m_nRpmMode == 0);
        m_radios[kConstant]->setChecked(m_nRpmMode == 1);
        return true;
    }
    struct IntField
    {
        int id;
        int* value;
        int low;
        int high;
    };
    const IntField ints[] = {{kLow, &m_nRpmLow, 1, 10000},
                             {kHigh, &m_nRpmHigh, 100, 1000000},
                             {kMargin, &m_nRpmMargin, 1, 10000},
                             {kSpan, &m_nTimeSpan, 1, 1000},
                             {kConstRpm, &m_nConstRpm, 1, 10000}};
    for (const IntField& f : ints) {
        int v = 0;
        if (!ReadInt(m_edits[f.id], v) || v < f.low || v > f.high) {
            AfxMessageBox(Format("Please enter an integer between %d and %d.", f.low, f.high),
                          MB_OK | MB_ICONEXCLAMATION);
            m_edits[f.id]->setFocus();
            return false;
        }
        *f.value = v;
    }
    struct FloatField
    {
        int id;
        float* value;
        float low;
        float high;
    };
    const FloatField floats[] = {{kMeasureTime, &m_fMeasureTime, 0.1f, 100.0f}, {kFactor, &m_fFactor, 0.1f, 1000.0f}};
    for (const FloatField& f : floats) {
        float v = 0.0f;
        if (!ReadFloat(m_edits[f.id], v) || v < f.low || v > f.high) {
            AfxMessageBox(Format("Please enter a number between %g and %g.", static_cast<double>(f.low),
                                 static_cast<double>(f.high)),
                          MB_OK | MB_ICONEXCLAMATION);
            m_edits[f.id]->setFocus();
            return false;
        }
        *f.value = v;
    }
    m_nChoice = m_radios[kMarginGiven]->isChecked() ? 0 : 1;
    if (m_radios[kRunUp]->isChecked())
        m_nRpmMode = 0;
    else if (m_radios[kConstant]->isChecked())
        m_nRpmMode = 1;
    return true;
}

bool CDlgEngineRotationSetup::ReadRpmFields()
{
    int low = 0, high = 0, margin = 0, span = 0;
    if (!ReadInt(m_edits[kLow], low) || !ReadInt(m_edits[kHigh], high) || !ReadInt(m_edits[kMargin], margin) ||
        !ReadInt(m_edits[kSpan], span))
        return false;
    m_nRpmLow = low;
    m_nRpmHigh = high;
    m_nRpmMargin = margin;
    m_nTimeSpan = span;
    m_nChoice = m_radios[kMarginGiven]->isChecked() ? 0 : 1;
    return true;
}

void CDlgEngineRotationSetup::RecomputeMinima(bool warn)
{
    if (!ReadRpmFields())
        return;
    CEngineRotationLimits::Values v{m_nRpmLow, m_nRpmHigh, m_nRpmMargin, m_nTimeSpan, m_fFactor};
    const int enteredMargin = v.rpmMargin;
    const int enteredSpan = v.timeSpan;
    const float blockTime = CEngineRotationLimits::BlockTime(m_work.GetSamplingFreq(), ModelBands());
    CEngineRotationLimits::ComputeMinima(m_nChoice, blockTime, v, m_minTimeSpan, m_minMargin);
    m_nRpmMargin = v.rpmMargin;
    m_nTimeSpan = v.timeSpan;
    if (m_nChoice == 0) {
        m_minSpanLabel->setText(m_minTimeSpan > 0 ? QString::fromStdString(Format(MessageTextOf(IDS_MIN_SPAN).c_str(),
                                                                                  static_cast<double>(m_minTimeSpan)))
                                                  : QString());
        m_minMarginLabel->clear();
    } else {
        m_minMarginLabel->setText(m_minMargin > 0 ? QString::fromStdString(Format(">%d RPM", m_minMargin)) : QString());
        m_minSpanLabel->clear();
    }
    m_edits[kMargin]->setText(QString::number(m_nRpmMargin));
    m_edits[kSpan]->setText(QString::number(m_nTimeSpan));
    if (!warn)
        return;
    if (enteredMargin < m_minMargin) {
        AfxFormatMessageBox(IDS_MARGIN_RAISED, MB_OK | MB_ICONEXCLAMATION, m_minMargin);
        m_edits[kMargin]->setFocus();
    }
    if (enteredSpan < m_minTimeSpan) {
        AfxFormatMessageBox(IDS_SPAN_RAISED, MB_OK | MB_ICONEXCLAMATION, static_cast<double>(m_minTimeSpan));
        m_edits[kSpan]->setFocus();
    }
}

void CDlgEngineRotationSetup::SnapMeasureTime()
{
    float time = m_fMeasureTime;
    if (!ReadFloat(m_edits[kMeasureTime], time))
        return;
    const float fs = m_work.GetSamplingFreq();
    const int block =
        CEngineRotationLimits::BlockSize(fs, m_work.GetVersion5Field(), BandFactor(), m_work.GetMaxFreq());
    m_fMeasureTime = CEngineRotationLimits::SnapMeasureTime(time, fs, block);
    m_edits[kMeasureTime]->setText(Number(m_fMeasureTime));
}

void CDlgEngineRotationSetup::OnOK()
{
    // Read-only: nothing was changed, so nothing is checked (Cancel is off, OK must close).
    if (m_mode == 2) {
        EndDialog(IDOK);
        return;
    }
    if (!UpdateData(true))
        return;
    const CEngineRotationLimits::Values v{m_nRpmLow, m_nRpmHigh, m_nRpmMargin, m_nTimeSpan, m_fFactor};
    if (const uint32_t refused = CEngineRotationLimits::Check(v, m_minMargin, m_minTimeSpan)) {
        AfxMessageBox(refused, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

// ---- the check run ----

void CDlgEngineRotationSetup::SendToDiagnosis(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (CDlgAccelRpm* diagnosis = CDlgAccelRpm::GetInstance())
        diagnosis->Target()->SendMessage(msg, wParam, lParam);
}

void CDlgEngineRotationSetup::OnCheck()
{
    IProjectLookups* lookups = IProjectLookups::FindOwner(m_project);
    if (!EnsureQMXConnection(lookups, 0, 1, this))
        return;
    if (!UpdateData(true))
        return;
    // A margin or time span of 0 would leave the detection nothing to compare against.
    if (m_nRpmMargin < 1 || m_nTimeSpan < 1) {
        AfxMessageBox(m_nRpmMargin < 1 ? IDS_RPM_MARGIN_TOO_SMALL : IDS_TIME_SPAN_TOO_SHORT,
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_work.SetRpmLow(m_nRpmLow);
    m_work.SetRpmHigh(m_nRpmHigh);
    m_work.SetRpmMargin(m_nRpmMargin);
    m_work.SetTimeSpan(static_cast<float>(m_nTimeSpan));
    m_work.SetRpmRef(m_nConstRpm);
    m_work.SetMeasureTime(m_fMeasureTime);

    CMultiQMXInterface* daq = CDAQ::GetMultiInterface();
    if (!daq)
        return;
    const int channel = m_work.GetRpmChannel();
    if (!CRpmChannelSetup::Prepare(*daq, channel)) {
        AfxFormatMessageBox(IDS_CHANNEL_FAILED, MB_OK | MB_ICONEXCLAMATION, channel + 1);
        return;
    }
    // A constant-speed measurement has no run-up to trigger on: the check runs free.
    m_manager.SetFreeRun(m_nRpmMode != 0 ? 1 : 0);
    m_manager.SetDuration(m_nRpmMode == 0 ? static_cast<float>(m_nTimeSpan) : m_nRpmMode == 1 ? m_fMeasureTime : 0.0f);
    m_manager.SetOwnerProject(m_project);
    m_manager.SetSupport(this);
    m_manager.SetDAQConfig(&m_work);
    m_manager.Prepare();

    if (CDlgAccelRpm* open = CDlgAccelRpm::GetInstance()) {
        open->showNormal();
        open->raise();
        open->SetMode(0);
        SendToDiagnosis(WM_ZU_RUNUP_RESET);
        SendToDiagnosis(WM_ZU_RUNUP_ENABLE);
    } else if (CDlgAccelRpm* diagnosis = CDlgAccelRpm::CreateInstance(this, m_target.get())) {
        diagnosis->SetDAQConfig(m_work);
        diagnosis->SetBands(ModelBands());
        diagnosis->SetInterface(daq);
        diagnosis->SetEngineCount(static_cast<int>(m_work.GetRpmRatio()));
        diagnosis->SetPulseCount(static_cast<int>(m_work.GetPulsesPerRev()));
        diagnosis->SetCompact(0);
        diagnosis->Create();
        diagnosis->SetMode(0);
        SendToDiagnosis(WM_ZU_RUNUP_ENABLE);
    }

    daq->SetNotifyWindow(m_target.get(), WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
    m_notifying = true;
    if (!m_manager.Start()) {
        AfxMessageBox(IDS_RUN_NOT_STARTED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    daq->SetUnitsFlag(1);
    m_holdOff = true;
    m_timer->start();
}

bool CDlgEngineRotationSetup::IsHoldOffActive() const
{
    return m_timer->isActive();
}

void CDlgEngineRotationSetup::OnTimer()
{
    m_timer->stop();
    if (CDAQ::Exists())
        if (CMultiQMXInterface* daq = CDAQ::GetMultiInterface())
            daq->SetUnitsFlag(0);
    m_holdOff = false;
    SendToDiagnosis(WM_ZU_RUNUP_ENABLE, 0, 1);
}

void CDlgEngineRotationSetup::ReleaseRun()
{
    if (!CDAQ::Exists())
        return;
    CMultiQMXInterface* daq = CDAQ::GetMultiInterface();
    if (!daq)
        return;
    if (m_holdOff) {
        daq->SetUnitsFlag(0);
        m_holdOff = false;
    }
    if (m_notifying) {
        daq->SetNotifyWindow(nullptr, 0, 0, 0);
        m_notifying = false;
    }
}

intptr_t CDlgEngineRotationSetup::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case WM_ZU_DAQ_STARTED:
        return 0;
    case WM_ZU_DAQ_STOPPED:
        if (CDlgAccelRpm* diagnosis = CDlgAccelRpm::GetInstance()) {
            diagnosis->SetMode(1);
            diagnosis->Target()->SendMessage(WM_ZU_RUNUP_RECORDING_ENDED);
        }
        return 0;
    case WM_ZU_DAQ_STOP:
        return m_manager.Stop();
    case WM_ZU_DAQ_COMPLETE:
        return m_manager.OnDAQComplete();
    case WM_ZU_DAQ_DATA: {
        CMultiQMXInterface* daq = CDAQ::GetMultiInterface();
        if (daq && daq->IsAnyUnitFlagSet())
            return -1;
        return m_manager.OnDAQData(wParam, lParam);
    }
    case WM_ZU_DAQ_RECORD_START:
        return m_manager.OnRecordStart();
    case WM_ZU_DAQ_RECORD_END:
        return m_manager.OnRecordEnd();
    default:
        return 0;
    }
}

int CDlgEngineRotationSetup::OnRpm(float rpm)
{
    SendToDiagnosis(WM_ZU_RUNUP_RPM, reinterpret_cast<uintptr_t>(&rpm));
    return 1;
}

int CDlgEngineRotationSetup::OnUpdate(uintptr_t wParam, intptr_t lParam)
{
    SendToDiagnosis(WM_ZU_RUNUP_UPDATE, wParam, lParam);
    return 1;
}

int CDlgEngineRotationSetup::OnRecordStart()
{
    SendToDiagnosis(WM_ZU_RUNUP_RECORDING_STARTED);
    SendToDiagnosis(WM_ZU_RUNUP_RECORD_START);
    return 1;
}

int CDlgEngineRotationSetup::OnRecordEnd()
{
    SendToDiagnosis(WM_ZU_RUNUP_RECORDING_ENDED);
    SendToDiagnosis(WM_ZU_RUNUP_RECORD_END);
    return 1;
}

bool EditEngineRotationSetup(CDaqProject* project, bool editable, QWidget* parent)
{
    if (!project)
        return false;
    CDlgEngineRotationSetup dialog(editable ? 0 : 2, parent);
    dialog.SetDAQProject(project);
    dialog.LoadFrom(*project->GetDAQConfig());
    if (dialog.DoModal() != IDOK)
        return false;
    // A read-only set-up has nothing to write: writing its fields back would only round the
    // stored time span and measurement time.
    if (editable)
        dialog.StoreTo(*project->GetDAQConfig());
    return true;
}
