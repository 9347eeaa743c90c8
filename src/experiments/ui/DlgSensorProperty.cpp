#include "experiments/ui/DlgSensorProperty.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"

namespace {
int g_sensorCounter = 0;

QString Number(float value)
{
    return QString::fromStdString(Format("%g", static_cast<double>(value)));
}
} // namespace

CDlgSensorProperty::CDlgSensorProperty(QWidget* parent, bool newSensor)
    : CZuDialog(parent, 4074), m_newSensor(newSensor)
{
    setObjectName(QStringLiteral("DlgSensorProperty"));
    setWindowTitle(newSensor ? QStringLiteral("New Sensor") : QStringLiteral("Sensor Properties"));
    auto make = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMinimumWidth(220);
        return e;
    };
    m_id = make("SensorID3102");
    m_manufacturer = make("Manufacturer3105");
    m_model = make("Model3108");
    m_serial = make("Serial3122");
    m_sensitivity = make("Sensitivity3119");
    m_limit = make("Limit3142");
    for (QLineEdit* e : {m_sensitivity, m_limit}) {
        auto* v = new QDoubleValidator(e);
        v->setLocale(QLocale::c());
        e->setValidator(v);
    }
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("Unit3044"));
    m_unit->addItems({QStringLiteral("mV/G      (Acc)"), QStringLiteral("mV/(m/s2) (Acc)"),
                      QStringLiteral("mV/Pa     (Mic)"), QStringLiteral("mV/N   (Hammer)")});
    m_convert = new QCheckBox(QStringLiteral("Convert between mV/G and mV/(m/s2)"), this);
    m_convert->setObjectName(QStringLiteral("Convert3052"));
    connect(m_convert, &QCheckBox::clicked, this, [this] { OnConvert(); });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Sensor ID:"), m_id);
    form->addRow(QStringLiteral("Manufacturer:"), m_manufacturer);
    form->addRow(QStringLiteral("Model:"), m_model);
    form->addRow(QStringLiteral("Serial #:"), m_serial);
    form->addRow(QStringLiteral("Unit:"), m_unit);
    form->addRow(QStringLiteral("Sensitivity:"), m_sensitivity);
    form->addRow(QStringLiteral("Limit:"), m_limit);
    form->addRow(QString(), m_convert);
    auto* buttons = CDialogButtons::OkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

std::string CDlgSensorProperty::NextAutomaticID()
{
    return Format("Sensor%d", ++g_sensorCounter);
}

void CDlgSensorProperty::SetUnitChoice(int choice)
{
    m_values.unitChoice = choice;
    m_unit->setCurrentIndex(choice);
    m_convert->setEnabled(!m_newSensor && choice == 1);
}

bool CDlgSensorProperty::OnInitDialog()
{
    if (m_newSensor) {
        m_values.id = NextAutomaticID();
        m_values.sensitivity = 1.0f;
        m_ok->setText(QString::fromStdString(LoadString(IDS_ADD)));
    }
    CZuDialog::OnInitDialog();
    m_sensitivity->setReadOnly(!m_editableValues);
    m_limit->setReadOnly(!m_editableValues);
    m_unit->setEnabled(m_unitEnabled);
    m_convert->setEnabled(!m_unitEnabled && m_values.unitChoice == 1);
    return true;
}

bool CDlgSensorProperty::DoDataExchange(bool save)
{
    if (!save) {
        m_id->setText(QString::fromStdString(m_values.id));
        m_manufacturer->setText(QString::fromStdString(m_values.manufacturer));
        m_model->setText(QString::fromStdString(m_values.model));
        m_serial->setText(QString::fromStdString(m_values.serialNumber));
        m_sensitivity->setText(Number(m_values.sensitivity));
        m_limit->setText(Number(m_values.limit));
        m_unit->setCurrentIndex(m_values.unitChoice);
        return true;
    }
    m_values.id = m_id->text().toStdString();
    m_values.manufacturer = m_manufacturer->text().toStdString();
    m_values.model = m_model->text().toStdString();
    m_values.serialNumber = m_serial->text().toStdString();
    m_values.sensitivity = m_sensitivity->text().toFloat();
    m_values.limit = m_limit->text().toFloat();
    m_values.unitChoice = m_unit->currentIndex();
    return true;
}

void CDlgSensorProperty::OnConvert()
{
    DoDataExchange(true);
    const double g = CSensorProject::kGravity;
    if (m_convert->isChecked() && m_values.unitChoice == 1) {
        m_values.sensitivity = static_cast<float>(m_values.sensitivity * g);
        m_values.limit = static_cast<float>(m_values.limit / g);
        m_values.unitChoice = 0;
    } else {
        m_values.sensitivity = static_cast<float>(m_values.sensitivity / g);
        m_values.limit = static_cast<float>(m_values.limit * g);
        m_values.unitChoice = 1;
    }
    DoDataExchange(false);
}

void CDlgSensorProperty::OnOK()
{
    DoDataExchange(true);
    if (m_values.id.empty() || !(m_values.sensitivity > 0.0f) || m_values.unitChoice < 0 || !(m_values.limit > 0.0f)) {
        AfxMessageBox(IDS_CHECK_INPUT);
        return;
    }
    if (!m_newSensor) {
        CZuDialog::OnOK();
        return;
    }
    if (onAdd)
        onAdd(*this);
    m_values.id = NextAutomaticID();
    m_id->setText(QString::fromStdString(m_values.id));
}

void CDlgSensorProperty::OnCancel()
{
    if (m_newSensor && onClosed)
        onClosed();
    CZuDialog::OnCancel();
}
