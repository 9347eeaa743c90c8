#include "acquisition/ui/DlgExpDataCheckOption.h"

#include "platform/ui/DialogButtons.h"

#include "models/HSEARegOptions.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QVBoxLayout>

CDlgExpDataCheckOption::CDlgExpDataCheckOption(QWidget* parent) : CZuDialog(parent, 4023)
{
    setObjectName(QStringLiteral("DlgExpDataCheckOption"));
    setWindowTitle(QStringLiteral("Data Check Options"));
    auto box = [this](int id) {
        auto* b = new QDoubleSpinBox(this);
        b->setObjectName(QStringLiteral("Edit%1").arg(id));
        b->setRange(0.0, 100.0);
        b->setDecimals(2);
        b->setSuffix(QStringLiteral(" %"));
        b->setMinimumWidth(110);
        return b;
    };
    m_inputRange = box(3143);
    m_overload = box(3138);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Input range:"), m_inputRange);
    form->addRow(QStringLiteral("Overload:"), m_overload);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

bool CDlgExpDataCheckOption::OnInitDialog()
{
    m_dInputRange = CHSEARegOptions::GetExpDataCheckInputRange() * 100.0;
    m_dOverload = CHSEARegOptions::GetExpDataCheckOverLoad() * 100.0;
    return CZuDialog::OnInitDialog();
}

bool CDlgExpDataCheckOption::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_dInputRange = m_inputRange->value();
        m_dOverload = m_overload->value();
    } else {
        m_inputRange->setValue(m_dInputRange);
        m_overload->setValue(m_dOverload);
    }
    return true;
}

void CDlgExpDataCheckOption::OnOK()
{
    if (!UpdateData(true))
        return;
    const int inputRange = CHSEARegOptions::SaveExpDataCheckInputRange(m_dInputRange * 0.01);
    const int overload = CHSEARegOptions::SaveExpDataCheckOverLoad(m_dOverload * 0.01);
    if (!inputRange || !overload)
        return;
    CZuDialog::OnOK();
}
