#include "calculation/ui/PPageCalcIEOptions.h"

#include <QCheckBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>

#include "calculation/CalcIEOptions.h"

CPPageCalcIEOptions::CPPageCalcIEOptions() : CZuPropertyPage(IDD, "Input Energy")
{
    auto* layout = new QFormLayout(this);
    m_symmetricBox = new QCheckBox(tr("Use the symmetric subsystem's experiments when a subsystem has none"), this);
    m_symmetricBox->setObjectName("useSymmetric");
    layout->addRow(m_symmetricBox);
    m_marginEdit = new QLineEdit(this);
    m_marginEdit->setObjectName("rpmMargin");
    auto* validator = new QDoubleValidator(0.0, 1.0e6, 3, m_marginEdit);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::StandardNotation);
    m_marginEdit->setValidator(validator);
    m_marginEdit->setMinimumWidth(120);
    layout->addRow(tr("RPM margin [RPM]:"), m_marginEdit);
    connect(m_symmetricBox, &QCheckBox::toggled, this, [this] { SetModified(); });
    connect(m_marginEdit, &QLineEdit::textEdited, this, [this] { SetModified(); });
}

CPPageCalcIEOptions::~CPPageCalcIEOptions() = default;

bool CPPageCalcIEOptions::OnInitDialog()
{
    if (m_options) {
        m_useSymmetric = m_options->GetUseSymmetric();
        m_rpmMargin = m_options->GetRpmMargin();
    }
    UpdateData(false);
    SetModified(false);
    return true;
}

bool CPPageCalcIEOptions::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate) {
        const QSignalBlocker a(m_symmetricBox), b(m_marginEdit);
        m_symmetricBox->setChecked(m_useSymmetric != 0);
        m_marginEdit->setText(QString::number(double(m_rpmMargin), 'g', 7));
        return true;
    }
    bool ok = false;
    const double margin = QLocale::c().toDouble(m_marginEdit->text().trimmed(), &ok);
    if (!ok || !(margin >= 0.0)) {
        m_marginEdit->setFocus();
        return false;
    }
    m_useSymmetric = m_symmetricBox->isChecked() ? 1 : 0;
    m_rpmMargin = static_cast<float>(margin);
    return true;
}

bool CPPageCalcIEOptions::OnApply()
{
    if (!UpdateData(true))
        return false;
    if (m_options) {
        m_options->SetUseSymmetric(m_useSymmetric);
        m_options->SetRpmMargin(m_rpmMargin);
    }
    return CZuPropertyPage::OnApply();
}
