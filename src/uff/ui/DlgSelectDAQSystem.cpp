#include "uff/ui/DlgSelectDAQSystem.h"

#include "platform/ui/DialogButtons.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

CDlgSelectDAQSystem::CDlgSelectDAQSystem(QWidget* parent) : CZuDialog(parent, IDD)
{
    setObjectName(QStringLiteral("DlgSelectDAQSystem"));
    setWindowTitle(tr("New DAQ Project"));
    auto* group = new QGroupBox(tr("Measured data"), this);
    auto* groupLayout = new QVBoxLayout(group);
    m_choices = new QButtonGroup(this);
    const char* texts[2] = {"Measured with the QMX hardware", "External data from universal files"};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(tr(texts[i]), group);
        r->setObjectName(QStringLiteral("c%1").arg(IDC_FIRST_CHOICE + i));
        m_choices->addButton(r, i);
        groupLayout->addWidget(r);
    }
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

bool CDlgSelectDAQSystem::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_choice = m_choices->checkedId() < 0 ? 0 : m_choices->checkedId();
    else if (QAbstractButton* b = m_choices->button(m_choice))
        b->setChecked(true);
    return true;
}
