#include "uff/ui/PPageUfOctave.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdlib>

#include "platform/base/Format.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/WinTypes.h"

namespace {
// Values within 1 % of the default count as the default.
constexpr double kDefaultLow = 0.328791375;
constexpr double kDefaultHigh = 0.335433625;
} // namespace

CPPageUfOctave::CPPageUfOctave() : CPPageOctave(IDD)
{
    setObjectName(QStringLiteral("PPageUfOctave"));
    // The fourth band kind joins the base page's kinds.
    QAbstractButton* first = KindGroup()->button(0);
    m_dataBands = new QRadioButton(tr("Bands made from the data"), first->parentWidget());
    m_dataBands->setObjectName(QStringLiteral("c%1").arg(IDC_DATA_BANDS));
    KindGroup()->addButton(m_dataBands, kDataBands);
    if (QLayout* kinds = first->parentWidget()->layout())
        kinds->addWidget(m_dataBands);

    auto* valueBox = new QGroupBox(tr("Band value of the imported spectra"), this);
    auto* valueLayout = new QGridLayout(valueBox);
    m_options = new QButtonGroup(this);
    auto* noValue = new QRadioButton(tr("Scale by the root of 0.5"), valueBox);
    noValue->setObjectName(QStringLiteral("c%1").arg(IDC_NO_VALUE));
    auto* useValue = new QRadioButton(tr("Scale by the root of the band value"), valueBox);
    useValue->setObjectName(QStringLiteral("c%1").arg(IDC_USE_VALUE));
    m_options->addButton(noValue, 0);
    m_options->addButton(useValue, 1);
    m_values = new QButtonGroup(this);
    m_defaultValue = new QRadioButton(tr("Default (0.3321125)"), valueBox);
    m_defaultValue->setObjectName(QStringLiteral("c%1").arg(IDC_DEFAULT_VALUE));
    m_typedValue = new QRadioButton(tr("Value:"), valueBox);
    m_typedValue->setObjectName(QStringLiteral("c%1").arg(IDC_TYPED_VALUE));
    m_values->addButton(m_defaultValue, 0);
    m_values->addButton(m_typedValue, 1);
    m_valueEdit = new QLineEdit(valueBox);
    m_valueEdit->setObjectName(QStringLiteral("c%1").arg(IDC_VALUE));
    m_doublingBox = new QCheckBox(tr("Double the band sums (one-sided spectra)"), valueBox);
    m_doublingBox->setObjectName(QStringLiteral("c%1").arg(IDC_DOUBLING));
    valueLayout->addWidget(noValue, 0, 0, 1, 2);
    valueLayout->addWidget(useValue, 1, 0, 1, 2);
    valueLayout->addWidget(m_defaultValue, 2, 0, 1, 2);
    valueLayout->addWidget(m_typedValue, 3, 0);
    valueLayout->addWidget(m_valueEdit, 3, 1);
    valueLayout->addWidget(m_doublingBox, 4, 0, 1, 2);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(valueBox, grid->rowCount(), 0, 1, 2);

    // After the base page's own handling of the kind.
    connect(KindGroup(), &QButtonGroup::idClicked, this, [this](int id) { OnKindClicked(id); });
    connect(m_options, &QButtonGroup::idClicked, this, [this](int id) { OnOption(id); });
    connect(m_values, &QButtonGroup::idClicked, this, [this] {
        UpdateData(true);
        UpdateControls();
    });
}

void CPPageUfOctave::SetBandValue(double* value)
{
    m_pBandValue = value;
    if (!value)
        return;
    if (*value >= kDefaultLow && *value <= kDefaultHigh) {
        m_valueChoice = 0;
    } else {
        m_valueChoice = 1;
        m_valueText = Format("%f", *value);
    }
}

void CPPageUfOctave::SetCheckTarget(int* target)
{
    m_pCheck = target;
    if (target)
        m_check = *target;
}

void CPPageUfOctave::SetOptionTarget(int* target)
{
    m_pOption = target;
    if (target)
        m_option = *target;
}

bool CPPageUfOctave::OnInitDialog()
{
    CPPageOctave::OnInitDialog();
    if (m_pCurrent && m_pCurrent->GetBandType() == kDataBands && m_pCurrent->GetFreqCount() == 0)
        m_nKind = kDataBands;
    // The base page fills its lists itself; this page's own controls come from its members.
    UpdateData(false);
    if (QAbstractButton* b = KindGroup()->button(m_nKind))
        b->setChecked(true);
    UpdateControls();
    return true;
}

bool CPPageUfOctave::DoDataExchange(bool saveAndValidate)
{
    if (!CPPageOctave::DoDataExchange(saveAndValidate))
        return false;
    if (saveAndValidate) {
        m_valueChoice = m_values->checkedId() < 0 ? 0 : m_values->checkedId();
        m_valueText = m_valueEdit->text().toStdString();
        m_check = m_doublingBox->isChecked() ? 1 : 0;
        m_option = m_options->checkedId() < 0 ? 1 : m_options->checkedId();
        return true;
    }
    if (QAbstractButton* b = m_values->button(m_valueChoice))
        b->setChecked(true);
    m_valueEdit->setText(QString::fromStdString(m_valueText));
    m_doublingBox->setChecked(m_check != 0);
    if (QAbstractButton* b = m_options->button(m_option))
        b->setChecked(true);
    return true;
}

void CPPageUfOctave::OnKindClicked(int kind)
{
    UpdateData(true);
    if (kind == kDataBands || kind == kAsTheyAre)
        OnTickAll(false);
    UpdateControls();
}

void CPPageUfOctave::OnOption(int option)
{
    m_option = option;
    UpdateControls();
}

void CPPageUfOctave::UpdateControls()
{
    CPPageOctave::UpdateControls();
    if (m_nKind == kDataBands) {
        AvailableList()->setEnabled(false);
        TickAllButton()->setEnabled(false);
    }
    const bool values = m_option == 1 && !m_bReadOnly;
    m_dataBands->setEnabled(!m_bReadOnly && m_valueChoiceAllowed);
    m_defaultValue->setEnabled(values);
    m_typedValue->setEnabled(values);
    m_valueEdit->setEnabled(values && m_valueChoice == 1);
    m_doublingBox->setEnabled(!m_bReadOnly);
}

void CPPageUfOctave::ApplyBands()
{
    if (m_nKind == kDataBands) {
        // The import makes the bands from the data's lines.
        if (m_pCurrent)
            *m_pCurrent = COctaveManagerEx(kDataBands);
        return;
    }
    CPPageOctave::ApplyBands();
}

bool CPPageUfOctave::OnApply()
{
    if (!IsInitialized())
        return true;
    UpdateData(true);
    double value = kDefaultValue;
    if (m_valueChoice == 1) {
        value = std::atof(m_valueText.c_str());
        if (!(value > 0.0)) {
            AfxMessageBox(IDS_BAND_VALUE_NOT_POSITIVE, MB_OK | MB_ICONEXCLAMATION);
            m_valueEdit->setFocus();
            return false;
        }
    }
    if (m_pBandValue)
        *m_pBandValue = value;
    if (m_pCheck)
        *m_pCheck = m_check;
    if (m_pOption)
        *m_pOption = m_option;
    OnOK();
    return true;
}

void CPPageUfOctave::OnOK()
{
    if (m_nKind == kDataBands && !m_bReadOnly) {
        ApplyBands();
        return;
    }
    CPPageOctave::OnOK();
}
