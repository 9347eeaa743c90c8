#include "calculation/ui/PPageCalcOptions.h"

#include "platform/base/Format.h"

#include <QButtonGroup>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// Radio ids in window-type order 0-4.
const char* const kWindowIds[5] = {"c3227", "c3224", "c3228", "c3226", "c3225"};
const char* const kWindowNames[5] = {"Rectangular", "Triangular", "Welch", "Hanning", "Hamming"};
} // namespace

CPPageCalcOptions::CPPageCalcOptions() : CZuPropertyPage(kTemplateId, "FFT")
{
    setObjectName(QStringLiteral("PPageCalcOptions"));
    m_corner = new QLineEdit(this);
    m_corner->setObjectName(QStringLiteral("c3148"));
    m_corner->setValidator(new QDoubleValidator(m_corner));
    auto* windows = new QGroupBox(tr("Time window"), this);
    auto* windowLayout = new QVBoxLayout(windows);
    m_windows = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* r = new QRadioButton(tr(kWindowNames[i]), windows);
        r->setObjectName(QString::fromLatin1(kWindowIds[i]));
        m_windows->addButton(r, i);
        windowLayout->addWidget(r);
    }
    m_saveDefault = new QPushButton(tr("Save as Default"), windows);
    m_saveDefault->setObjectName(QStringLiteral("c3030"));
    windowLayout->addWidget(m_saveDefault);
    auto* form = new QFormLayout;
    form->addRow(tr("High-pass corner frequency [Hz]:"), m_corner);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(windows);
    layout->addStretch(1);

    connect(m_corner, &QLineEdit::textEdited, this, [this] {
        if (m_filling || !m_pOptions)
            return;
        const float v = m_corner->text().toFloat();
        m_options.SetHighPassFreq(v);
        if (v != m_pOptions->GetHighPassFreq())
            SetModified(true);
    });
    connect(m_windows, &QButtonGroup::idClicked, this, [this](int id) { OnWindowChosen(id); });
    connect(m_saveDefault, &QPushButton::clicked, this, [this] { OnSaveDefaultWindow(); });
}

QRadioButton* CPPageCalcOptions::WindowRadio(int type) const
{
    return qobject_cast<QRadioButton*>(m_windows->button(type));
}

bool CPPageCalcOptions::OnInitDialog()
{
    m_corner->setEnabled(!m_bReadOnly);
    for (QAbstractButton* b : m_windows->buttons())
        b->setEnabled(!m_bReadOnly);
    m_saveDefault->setVisible(!m_bReadOnly);
    if (!m_pOptions)
        return true;
    m_options = *m_pOptions;
    m_filling = true;
    m_corner->setText(QString::fromStdString(Format("%g", double(m_options.GetHighPassFreq()))));
    if (QAbstractButton* b = m_windows->button(m_options.GetWindowType()))
        b->setChecked(true);
    m_filling = false;
    return true;
}

void CPPageCalcOptions::OnWindowChosen(int windowType)
{
    if (!m_pOptions)
        return;
    m_options.SetWindowType(windowType);
    if (QAbstractButton* b = m_windows->button(windowType))
        b->setChecked(true);
    if (windowType != m_pOptions->GetWindowType())
        SetModified(true);
}

void CPPageCalcOptions::OnSaveDefaultWindow()
{
    // A settings store that cannot be written leaves the default as it was, without a message.
    m_options.SaveDataWindowing();
}

void CPPageCalcOptions::OnOK()
{
    if (!m_pOptions || !IsInitialized())
        return;
    if (m_options.GetHighPassFreq() != m_pOptions->GetHighPassFreq())
        m_pOptions->SetHighPassFreq(m_options.GetHighPassFreq());
    if (m_options.GetWindowType() != m_pOptions->GetWindowType())
        m_pOptions->SetWindowType(m_options.GetWindowType());
}
