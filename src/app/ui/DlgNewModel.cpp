#include "app/ui/DlgNewModel.h"

#include "platform/ui/DialogButtons.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CDlgNewModel::CDlgNewModel(QWidget* parent) : CZuDialog(parent, 4096)
{
    setObjectName(QStringLiteral("DlgNewModel"));
    setWindowTitle(QStringLiteral("New Model"));
    auto* box = new QGroupBox(QStringLiteral("Source of the model"), this);
    m_solmox = new QRadioButton(QStringLiteral("Import the model from a SOLMOX project"), box);
    m_solmox->setObjectName(QStringLiteral("Source3206"));
    m_file = new QRadioButton(QStringLiteral("Read a vehicle model file"), box);
    m_file->setObjectName(QStringLiteral("Source3206b"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_solmox, kFromSolmox);
    group->addButton(m_file, kFromFile);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(m_solmox);
    boxLayout->addWidget(m_file);
    auto* buttons = CDialogButtons::OkCancel(this);
    // OK only once a source is chosen: a model from nowhere cannot be made.
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    connect(group, &QButtonGroup::idToggled, ok, [ok, group](int, bool) { ok->setEnabled(group->checkedId() >= 0); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
}

bool CDlgNewModel::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_source = m_solmox->isChecked() ? kFromSolmox : m_file->isChecked() ? kFromFile : -1;
        return m_source >= 0;
    }
    m_solmox->setChecked(m_source == kFromSolmox);
    m_file->setChecked(m_source == kFromFile);
    return true;
}
