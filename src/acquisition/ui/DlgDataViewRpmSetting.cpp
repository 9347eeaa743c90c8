#include "acquisition/ui/DlgDataViewRpmSetting.h"

#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"
#include "spectral/RPMOptions.h"

#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace {

QLineEdit* MakeEdit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("Edit%1").arg(id));
    auto* validator = new QDoubleValidator(edit);
    validator->setLocale(QLocale::c());
    edit->setValidator(validator);
    edit->setAlignment(Qt::AlignRight);
    edit->setMinimumWidth(120);
    return edit;
}

bool ReadNumber(QLineEdit* edit, float& value)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(edit->text().trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = static_cast<float>(v);
    return true;
}

} // namespace

CDlgDataViewRpmSetting::CDlgDataViewRpmSetting(CRPMOptions* options, QWidget* parent)
    : CZuDialog(parent, IDD), m_pOptions(options)
{
    setObjectName(QStringLiteral("DlgDataViewRpmSetting"));
    setWindowTitle(QStringLiteral("RPM Setting"));
    if (m_pOptions) {
        m_fRpmMin = m_pOptions->GetRpmMin();
        m_fRpmMax = m_pOptions->GetRpmMax();
        m_fRpmStep = m_pOptions->GetRpmStep();
    }
    m_min = MakeEdit(this, IDC_MIN);
    m_max = MakeEdit(this, IDC_MAX);
    m_step = MakeEdit(this, IDC_STEP);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Minimum [RPM]:"), m_min);
    form->addRow(QStringLiteral("Maximum [RPM]:"), m_max);
    form->addRow(QStringLiteral("Step [RPM]:"), m_step);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QLineEdit* CDlgDataViewRpmSetting::Edit(int id) const
{
    switch (id) {
    case IDC_STEP:
        return m_step;
    case IDC_MAX:
        return m_max;
    case IDC_MIN:
        return m_min;
    default:
        return nullptr;
    }
}

bool CDlgDataViewRpmSetting::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_min->setText(QString::fromStdString(Format("%g", m_fRpmMin)));
        m_max->setText(QString::fromStdString(Format("%g", m_fRpmMax)));
        m_step->setText(QString::fromStdString(Format("%g", m_fRpmStep)));
        return true;
    }
    for (auto [edit, value] : {std::pair{m_min, &m_fRpmMin}, {m_max, &m_fRpmMax}, {m_step, &m_fRpmStep}}) {
        if (!ReadNumber(edit, *value)) {
            edit->setFocus();
            edit->selectAll();
            return false;
        }
    }
    return true;
}

void CDlgDataViewRpmSetting::OnOK()
{
    if (!UpdateData(true))
        return;
    if (!(m_fRpmStep > 0.0f)) {
        AfxMessageBox(IDS_RPM_STEP_NOT_POSITIVE, MB_OK | MB_ICONEXCLAMATION);
        m_step->setFocus();
        return;
    }
    if (m_fRpmMin > m_fRpmMax) {
        AfxMessageBox(IDS_MIN_ABOVE_MAX, MB_OK | MB_ICONEXCLAMATION);
        m_min->setFocus();
        return;
    }
    if (m_pOptions) {
        m_pOptions->SetRpmMin(m_fRpmMin);
        m_pOptions->SetRpmMax(m_fRpmMax);
        m_pOptions->SetRpmStep(m_fRpmStep);
    }
    CZuDialog::OnOK();
}
