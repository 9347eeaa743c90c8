#include "acquisition/ui/PPageDaqGraph1.h"

#include "experiments/ExpOptions.h"
#include "platform/base/Format.h"

#include <QButtonGroup>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

namespace {
const char* const kAxisNames[3] = {"Vertical axis (level)", "Horizontal axis (frequency)", "Horizontal axis (RPM)"};
} // namespace

CPPageDaqGraph1::CPPageDaqGraph1() : CZuPropertyPage(kTemplateId, "Graph Range")
{
    setObjectName(QStringLiteral("PPageDaqGraph1"));
    auto* layout = new QVBoxLayout(this);
    for (int a = 0; a < 3; ++a) {
        const auto i = static_cast<size_t>(a);
        auto* group = new QGroupBox(tr(kAxisNames[a]), this);
        auto* grid = new QGridLayout(group);
        m_modes[i] = new QButtonGroup(this);
        auto* automatic = new QRadioButton(tr("Automatic"), group);
        automatic->setObjectName(QStringLiteral("c%1").arg(kAutoIds[i]));
        auto* manual = new QRadioButton(tr("Manual"), group);
        manual->setObjectName(QStringLiteral("c%1").arg(kManualIds[i]));
        m_modes[i]->addButton(automatic, 0);
        m_modes[i]->addButton(manual, 1);
        m_upper[i] = new QLineEdit(group);
        m_upper[i]->setObjectName(QStringLiteral("c%1").arg(kUpperIds[i]));
        m_lower[i] = new QLineEdit(group);
        m_lower[i]->setObjectName(QStringLiteral("c%1").arg(kLowerIds[i]));
        for (QLineEdit* e : {m_upper[i], m_lower[i]}) {
            auto* v = new QDoubleValidator(e);
            v->setLocale(QLocale::c());
            e->setValidator(v);
            e->setAlignment(Qt::AlignRight);
            e->setMinimumWidth(110);
        }
        grid->addWidget(automatic, 0, 0);
        grid->addWidget(manual, 1, 0);
        grid->addWidget(new QLabel(tr("Upper:"), group), 0, 1);
        grid->addWidget(m_upper[i], 0, 2);
        grid->addWidget(new QLabel(tr("Lower:"), group), 1, 1);
        grid->addWidget(m_lower[i], 1, 2);
        grid->setColumnStretch(2, 1);
        layout->addWidget(group);
        connect(m_modes[i], &QButtonGroup::idClicked, this, [this, a](int mode) {
            OnModeChosen(a, mode);
            SetModified(true);
        });
        for (QLineEdit* e : {m_upper[i], m_lower[i]})
            connect(e, &QLineEdit::textEdited, this, [this] { SetModified(true); });
    }
    layout->addStretch(1);
}

QRadioButton* CPPageDaqGraph1::ModeRadio(int axis, int mode) const
{
    if (axis < 0 || axis > 2)
        return nullptr;
    return qobject_cast<QRadioButton*>(m_modes[static_cast<size_t>(axis)]->button(mode));
}

void CPPageDaqGraph1::LoadFromExpOptions(CExpOptions* options)
{
    m_pOptions = options;
    if (!options)
        return;
    for (int a = 0; a < 3; ++a) {
        m_nMode[a] = options->GetAxisMode(a + 1);
        m_dUpper[a] = options->GetAxisUpper(a + 1);
        m_dLower[a] = options->GetAxisLower(a + 1);
    }
}

CExpOptions* CPPageDaqGraph1::SaveToExpOptions()
{
    if (!m_pOptions)
        return nullptr;
    for (int a = 0; a < 3; ++a) {
        m_pOptions->SetAxisMode(a + 1, m_nMode[a]);
        m_pOptions->SetAxisRange(a + 1, m_dUpper[a], m_dLower[a]);
    }
    return m_pOptions;
}

void CPPageDaqGraph1::EnableAxis(int axis)
{
    const auto i = static_cast<size_t>(axis);
    const bool manual = m_modes[i]->checkedId() != 0;
    m_upper[i]->setEnabled(manual);
    m_lower[i]->setEnabled(manual);
}

void CPPageDaqGraph1::OnModeChosen(int axis, int mode)
{
    if (axis < 0 || axis > 2)
        return;
    if (QAbstractButton* b = m_modes[static_cast<size_t>(axis)]->button(mode))
        b->setChecked(true);
    EnableAxis(axis);
}

bool CPPageDaqGraph1::DoDataExchange(bool saveAndValidate)
{
    for (int a = 0; a < 3; ++a) {
        const auto i = static_cast<size_t>(a);
        if (!saveAndValidate) {
            m_upper[i]->setText(QString::fromStdString(Format("%g", m_dUpper[a])));
            m_lower[i]->setText(QString::fromStdString(Format("%g", m_dLower[a])));
            if (QAbstractButton* b = m_modes[i]->button(m_nMode[a]))
                b->setChecked(true);
            continue;
        }
        for (auto [edit, value] : {std::pair{m_upper[i], &m_dUpper[a]}, {m_lower[i], &m_dLower[a]}}) {
            bool ok = false;
            const double v = QLocale::c().toDouble(edit->text().trimmed(), &ok);
            if (!ok || !std::isfinite(v)) {
                edit->setFocus();
                return false;
            }
            *value = v;
        }
        m_nMode[a] = m_modes[i]->checkedId();
    }
    return true;
}

bool CPPageDaqGraph1::OnSetActive()
{
    // An automatic axis has no values to edit.
    for (int a = 0; a < 3; ++a)
        EnableAxis(a);
    return CZuPropertyPage::OnSetActive();
}

bool CPPageDaqGraph1::OnKillActive()
{
    if (!UpdateData(true))
        return false;
    bool swapped = false;
    for (int a = 0; a < 3; ++a) {
        if (m_dLower[a] > m_dUpper[a]) {
            std::swap(m_dLower[a], m_dUpper[a]);
            swapped = true;
        }
    }
    if (swapped)
        UpdateData(false);
    return true;
}
