#include "app/ui/DlgRename.h"

#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

CDlgRename::CDlgRename(QWidget* parent) : CZuDialog(parent, 4057)
{
    setObjectName(QStringLiteral("DlgRename"));
    setWindowTitle(QStringLiteral("Rename"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Name3137"));
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

bool CDlgRename::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_name = m_edit->text().toStdString();
    else
        m_edit->setText(QString::fromStdString(m_name));
    return true;
}
