#include "views/ui/DlgSelectResultType.h"

#include "platform/ui/DialogButtons.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CDlgSelectResultType::CDlgSelectResultType(std::function<bool(int)> commandEnabled, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_commandEnabled(std::move(commandEnabled))
{
    setObjectName(QStringLiteral("DlgSelectResultType"));
    setWindowTitle(tr("Result Type"));
    auto* box = new QGroupBox(tr("Calculate"), this);
    auto* boxLayout = new QVBoxLayout(box);
    m_group = new QButtonGroup(this);
    const char* texts[5] = {"Vibration level", "Sound pressure level (SPL)", "Dominant paths", "Power contributions",
                            "Power contribution viewer"};
    const char* ids[5] = {"c3223", "c3221", "c3214", "c3219", "c3213"};
    for (int i = 0; i < 5; ++i) {
        auto* r = new QRadioButton(tr(texts[i]), box);
        r->setObjectName(QString::fromLatin1(ids[i]));
        m_group->addButton(r, i);
        boxLayout->addWidget(r);
    }
    auto* buttons = CDialogButtons::OkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) { Choose(id); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
}

bool CDlgSelectResultType::OnInitDialog()
{
    for (int i = 0; i < 5; ++i)
        m_group->button(i)->setEnabled(!m_commandEnabled || m_commandEnabled(kCommands[i]));
    m_ok->setEnabled(false);
    return CZuDialog::OnInitDialog();
}

void CDlgSelectResultType::Choose(int kind)
{
    QAbstractButton* b = m_group->button(kind);
    if (!b || !b->isEnabled())
        return;
    b->setChecked(true);
    m_ok->setEnabled(true);
}

void CDlgSelectResultType::OnOK()
{
    // OK exists only while a kind is chosen.
    if (m_group->checkedId() < 0)
        return;
    m_nSelection = m_group->checkedId();
    CZuDialog::OnOK();
}

void CDlgSelectResultType::OnCancel()
{
    m_nSelection = -1;
    CZuDialog::OnCancel();
}
