#include "acquisition/ui/DlgDAQConfig.h"

#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "experiments/DAQConfig.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr float kFloatEpsilon = 1.1920928955078125e-7f;

QString Number(float v)
{
    return QString::fromStdString(Format("%g", v));
}

bool ReadFloat(QLineEdit* edit, float& value)
{
    bool ok = false;
    const float v = edit->text().trimmed().toFloat(&ok);
    if (ok)
        value = v;
    return ok;
}
} // namespace

CDlgDAQConfig::CDlgDAQConfig(CMultiQMXInterface* daq, QWidget* parent) : CZuDialog(parent, 4009), m_daq(daq)
{
    setObjectName(QStringLiteral("DlgDAQConfig"));
    setWindowTitle(QStringLiteral("Acquisition Configuration"));
    auto edit = [this](int id) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("Edit%1").arg(id));
        e->setAlignment(Qt::AlignRight);
        e->setMinimumWidth(110);
        return e;
    };
    m_freq = new QComboBox(this);
    m_freq->setObjectName(QStringLiteral("Combo3166"));
    m_freq->setMinimumWidth(110);
    m_samplingEdit = edit(3118);
    m_bandLimitEdit = edit(3084);
    m_channel = new QComboBox(this);
    m_channel->setObjectName(QStringLiteral("Combo3056"));
    m_channel->setMinimumWidth(160);
    m_levelEdit = edit(3087);
    m_pulsesEdit = edit(3114);
    m_ratioEdit = edit(3091);

    auto* sampling = new QGroupBox(QStringLiteral("Sampling"), this);
    auto* s = new QFormLayout(sampling);
    s->addRow(QStringLiteral("Max frequency [Hz]:"), m_freq);
    s->addRow(QStringLiteral("Sampling frequency [Hz]:"), m_samplingEdit);
    s->addRow(QStringLiteral("Band limit [Hz]:"), m_bandLimitEdit);
    auto* rpm = new QGroupBox(QStringLiteral("RPM pulse signal"), this);
    auto* r = new QFormLayout(rpm);
    r->addRow(QStringLiteral("Channel:"), m_channel);
    r->addRow(QStringLiteral("Level [%]:"), m_levelEdit);
    r->addRow(QStringLiteral("Pulses per revolution:"), m_pulsesEdit);
    r->addRow(QStringLiteral("RPM ratio:"), m_ratioEdit);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sampling);
    layout->addWidget(rpm);
    layout->addWidget(buttons);
    connect(m_freq, &QComboBox::activated, this, &CDlgDAQConfig::OnSelectFrequency);
}

QLineEdit* CDlgDAQConfig::Edit(int id) const
{
    switch (id) {
    case 3118:
        return m_samplingEdit;
    case 3084:
        return m_bandLimitEdit;
    case 3087:
        return m_levelEdit;
    case 3114:
        return m_pulsesEdit;
    case 3091:
        return m_ratioEdit;
    default:
        return nullptr;
    }
}

CMultiQMXInterface* CDlgDAQConfig::Units() const
{
    return m_daq ? m_daq : CDAQ::GetMultiInterface();
}

float CDlgDAQConfig::SamplingFreqFor(float maxFreq)
{
    const float needed = 2.56f * maxFreq;
    for (float fs : {12800.0f, 25600.0f, 51200.0f}) {
        if (fs >= needed)
            return fs;
    }
    return 102400.0f;
}

void CDlgDAQConfig::LoadFrom(const CDAQConfig& config)
{
    m_fMaxFreq = config.GetMaxFreq();
    m_fSamplingFreq = config.GetSamplingFreq();
    m_fBandLimit = config.GetBandLimit();
    m_nRpmChannel = config.GetRpmChannel();
    m_fLevel = config.GetBandAveFactor() * 100.0f;
    m_fPulsesPerRev = m_storedPulses = config.GetPulsesPerRev();
    m_fRpmRatio = m_storedRatio = config.GetRpmRatio();
}

void CDlgDAQConfig::StoreTo(CDAQConfig& config) const
{
    if (m_bConfigOnly) {
        if (std::fabs(m_fPulsesPerRev - config.GetPulsesPerRev()) >= kFloatEpsilon)
            config.SetPulsesPerRev(m_fPulsesPerRev);
        if (std::fabs(m_fRpmRatio - config.GetRpmRatio()) >= kFloatEpsilon)
            config.SetRpmRatio(m_fRpmRatio);
        return;
    }
    config.SetMaxFreq(m_fMaxFreq);
    // A frequency the units did not give stays as it was: 0 Hz never reaches a project.
    if (m_fSamplingFreq > 0.0f)
        config.SetSamplingFreq(m_fSamplingFreq);
    if (m_fBandLimit > 0.0f)
        config.SetBandLimit(m_fBandLimit);
    config.SetRpmChannel(m_nRpmChannel);
    config.SetBandAveFactor(m_fLevel / 100.0f);
}

bool CDlgDAQConfig::OnInitDialog()
{
    CMultiQMXInterface* units = Units();
    if (units && units->GetUnitCount() > 0 && units->AreAllUnitsConnected()) {
        const float fs = units->GetSampleRate();
        const int limit = units->GetHardwareParam();
        if (fs > 0.0f)
            m_fSamplingFreq = fs;
        if (limit > 0)
            m_fBandLimit = static_cast<float>(limit);
    }
    m_freq->clear();
    const std::string wanted = Format("%g", m_fMaxFreq);
    for (double f : m_bandFreqs) {
        const std::string text = Format("%g", f);
        m_freq->addItem(QString::fromStdString(text), f);
        if (text == wanted)
            m_freq->setCurrentIndex(m_freq->count() - 1);
    }
    if (m_fSamplingFreq > 0.0f)
        m_fBandLimit = static_cast<float>(BandLimitFor(m_fSamplingFreq));

    m_channel->clear();
    if (units) {
        const CQmxBlixChInfoList& channels = units->GetChannelManager().GetBlixChInfoList();
        for (int c = 0; c < m_nChannelCount; ++c) {
            const int i = channels.FindByChannelNumber(c);
            if (i < 0)
                continue;
            const CQmxBlixChInfo& ch = channels[i];
            m_channel->addItem(QString::fromStdString(Format("%d: %s-%1d", c + 1, ch.GetBlixSerial().c_str(),
                                                             static_cast<int>(ch.GetUnitChannel()))),
                               c);
        }
    }
    if (m_bConfigOnly) {
        m_freq->setEnabled(false);
        m_channel->setEnabled(false);
        m_levelEdit->setReadOnly(true);
    }
    return CZuDialog::OnInitDialog();
}

void CDlgDAQConfig::OnSelectFrequency(int index)
{
    if (m_nFreqRangeMode == 1 || index < 0)
        return;
    UpdateData(true);
    m_fMaxFreq = static_cast<float>(m_freq->itemData(index).toDouble());
    m_fSamplingFreq = SamplingFreqFor(m_fMaxFreq);
    m_fBandLimit = static_cast<float>(BandLimitFor(m_fSamplingFreq));
    UpdateData(false);
}

bool CDlgDAQConfig::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_samplingEdit->setText(Number(m_fSamplingFreq));
        m_bandLimitEdit->setText(Number(m_fBandLimit));
        m_levelEdit->setText(Number(m_fLevel));
        m_pulsesEdit->setText(Number(m_fPulsesPerRev));
        m_ratioEdit->setText(Number(m_fRpmRatio));
        const int channel = m_channel->findData(m_nRpmChannel);
        m_channel->setCurrentIndex(channel);
        return true;
    }
    for (auto [edit, value] : {std::pair{m_samplingEdit, &m_fSamplingFreq}, std::pair{m_bandLimitEdit, &m_fBandLimit},
                               std::pair{m_levelEdit, &m_fLevel}, std::pair{m_pulsesEdit, &m_fPulsesPerRev},
                               std::pair{m_ratioEdit, &m_fRpmRatio}}) {
        if (!ReadFloat(edit, *value)) {
            AfxMessageBox("Please enter a number.", MB_OK | MB_ICONEXCLAMATION);
            edit->setFocus();
            return false;
        }
    }
    if (m_freq->currentIndex() >= 0 && m_nFreqRangeMode != 1)
        m_fMaxFreq = static_cast<float>(m_freq->currentData().toDouble());
    m_nRpmChannel = m_channel->currentIndex() >= 0 ? m_channel->currentData().toInt() : -1;
    return true;
}

void CDlgDAQConfig::OnOK()
{
    if (!UpdateData(true))
        return;
    uint32_t refused = 0;
    if (!(m_fMaxFreq > 0.0f) || !(m_fSamplingFreq > 0.0f))
        refused = IDS_BAD_FREQUENCY;
    else if (2.56f * m_fMaxFreq > m_fSamplingFreq)
        refused = IDS_SAMPLING_TOO_LOW;
    else if (!(m_fBandLimit > 0.0f))
        refused = IDS_BAD_BAND_LIMIT;
    else if (!(m_fLevel > 0.0f && m_fLevel <= 100.0f))
        refused = IDS_BAD_LEVEL;
    else if (!(m_fPulsesPerRev > 0.0f))
        refused = IDS_BAD_PULSES;
    else if (!(m_fRpmRatio > 0.0f))
        refused = IDS_BAD_RATIO;
    else if (!m_bConfigOnly && m_nRpmChannel < 0)
        refused = IDS_NO_RPM_CHANNEL;
    if (refused) {
        AfxMessageBox(refused, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!m_bConfigOnly)
        ApplyToUnits();
    CZuDialog::OnOK();
}

bool CDlgDAQConfig::ApplyToUnits()
{
    CMultiQMXInterface* units = Units();
    if (!units || units->GetUnitCount() == 0 || !units->AreAllUnitsConnected())
        return false;
    for (int c = 0; c < units->GetMaxChannels(); ++c)
        units->EnableChannel(c);
    units->SetSampleRate(m_fSamplingFreq);
    units->SetBandLimit(static_cast<int>(m_fBandLimit));
    // What the units accepted; a value they cannot give keeps the entered one.
    const float fs = units->GetSampleRate();
    const int limit = units->GetHardwareParam();
    if (fs > 0.0f)
        m_fSamplingFreq = fs;
    if (limit > 0)
        m_fBandLimit = static_cast<float>(limit);
    return true;
}
