#include "calculation/ui/PPageBandAve.h"

#include "platform/base/Format.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

CPPageBandAve::CPPageBandAve() : CZuPropertyPage(kTemplateId, "Band Averaging")
{
    setObjectName(QStringLiteral("PPageBandAve"));
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("c3245"));
    for (int lines = kMinLines; lines <= kMaxLines; lines *= 2)
        m_combo->addItem(QString::fromStdString(Format("%d", lines)));
    m_blockEdit = new QLineEdit(this);
    m_blockEdit->setObjectName(QStringLiteral("c3068"));
    m_blockEdit->setReadOnly(true);
    m_resEdit = new QLineEdit(this);
    m_resEdit->setObjectName(QStringLiteral("c3073"));
    m_resEdit->setReadOnly(true);
    m_lineLabel = new QLabel(tr("FFT lines:"), this);
    m_lineLabel->setObjectName(QStringLiteral("c3158"));
    m_blockLabel = new QLabel(tr("Block length:"), this);
    m_blockLabel->setObjectName(QStringLiteral("c3156"));
    m_resLabel = new QLabel(tr("Frequency resolution [Hz]:"), this);
    m_resLabel->setObjectName(QStringLiteral("c3157"));
    auto* form = new QFormLayout(this);
    form->addRow(m_lineLabel, m_combo);
    form->addRow(m_blockLabel, m_blockEdit);
    form->addRow(m_resLabel, m_resEdit);
    connect(m_combo, &QComboBox::activated, this, [this](int i) { OnLineCountChosen(m_combo->itemText(i)); });
}

void CPPageBandAve::SetCalcOptions(CCalcOptions* options)
{
    m_pOptions = options;
    if (m_pOptions) {
        m_options = *m_pOptions;
        Recalc();
    }
}

void CPPageBandAve::SetEnableMask(int mask)
{
    m_mask[0] = mask & 0xF;
    m_mask[1] = mask & 0xF0;
    m_mask[2] = mask & 0xF00;
}

int CPPageBandAve::BlockLength(double samplingFrequency, double lines, double range)
{
    if (!(range > 0.0) || !(samplingFrequency > 0.0) || !(lines > 0.0))
        return 0;
    const double value = std::trunc(samplingFrequency * lines / range);
    if (!(value >= 1.0) || value > double(1 << 30))
        return 0;
    const double p = std::exp2(std::floor(std::log2(value)));
    return int((value - p) < (2.0 * p - value) ? p : 2.0 * p);
}

void CPPageBandAve::Recalc()
{
    const float lines = m_options.GetLineCount();
    m_nBlockLength = BlockLength(m_fSampling, lines, m_fFreqRange);
    m_fResolution = m_nBlockLength > 0 ? float(double(m_fSampling) / m_nBlockLength) : 0.0f;
    m_combo->setCurrentIndex(m_combo->findText(QString::fromStdString(Format("%g", double(lines))), Qt::MatchExactly));
    m_blockEdit->setText(QString::number(m_nBlockLength));
    m_resEdit->setText(QString::fromStdString(Format("%g", double(m_fResolution))));
}

void CPPageBandAve::ApplyLayout()
{
    const bool locked = (m_mask[0] & 0x1) != 0;
    if (m_mask[1] == 0x20) {
        for (QWidget* w : {static_cast<QWidget*>(m_lineLabel), static_cast<QWidget*>(m_combo),
                           static_cast<QWidget*>(m_blockLabel), static_cast<QWidget*>(m_blockEdit)})
            w->hide();
        m_resLabel->show();
        m_resEdit->show();
        m_resEdit->setReadOnly(locked);
    } else if (m_mask[1] == 0x10) {
        for (QWidget* w :
             {static_cast<QWidget*>(m_lineLabel), static_cast<QWidget*>(m_combo), static_cast<QWidget*>(m_blockLabel),
              static_cast<QWidget*>(m_blockEdit), static_cast<QWidget*>(m_resLabel), static_cast<QWidget*>(m_resEdit)})
            w->show();
        m_combo->setEnabled(!locked);
        m_blockEdit->setReadOnly(true);
        m_resEdit->setReadOnly(true);
    }
}

bool CPPageBandAve::OnInitDialog()
{
    ApplyLayout();
    if (m_pOptions) {
        m_options = *m_pOptions;
        Recalc();
    }
    return true;
}

void CPPageBandAve::OnLineCountChosen(const QString& text)
{
    if (!m_pOptions)
        return;
    const float lines = text.toFloat();
    if (lines != m_pOptions->GetLineCount())
        SetModified(true);
    m_options.SetLineCount(lines);
    Recalc();
}

void CPPageBandAve::OnOK()
{
    if (m_pOptions && IsInitialized() && m_options.GetLineCount() != m_pOptions->GetLineCount())
        m_pOptions->SetLineCount(m_options.GetLineCount());
}
