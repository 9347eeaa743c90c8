#include "experiments/ui/DlgSensorBundle.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CDlgSensorBundle::CDlgSensorBundle(QWidget* parent) : CZuDialog(parent, 4072)
{
    setObjectName(QStringLiteral("DlgSensorBundle"));
    setWindowTitle(QStringLiteral("Add Sensors to Bundle"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Bundle2071"));
    m_edit->setReadOnly(true);
    m_edit->setMinimumWidth(220);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Double-click sensors in the sensor list to add them to the bundle:"), this));
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

CDlgSensorBundle::~CDlgSensorBundle() = default;

CDlgSensorBundle* CDlgSensorBundle::CreateInstance(QWidget* parent)
{
    return Instances().RegisterNew(ProgramKey(), [parent] { return new CDlgSensorBundle(parent); });
}

void CDlgSensorBundle::SetBundleID(const std::string& id)
{
    m_edit->setText(QString::fromStdString(id));
}

std::string CDlgSensorBundle::GetBundleID() const
{
    return m_edit->text().toStdString();
}
