#include "platform/ui/DlgInputBox.h"
#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CDlgInputBox::CDlgInputBox(const std::string& prompt, const std::string& caption, QWidget* parent) : CZuDialog(parent)
{
    setObjectName(QStringLiteral("DlgInputBox"));
    setWindowTitle(QString::fromStdString(caption));
    m_prompt = new QLabel(QString::fromStdString(prompt), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("InputText"));
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

bool CDlgInputBox::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_text = m_edit->text().toStdString();
    else
        m_edit->setText(QString::fromStdString(m_text));
    return true;
}

bool InputBox(const std::string& prompt, const std::string& caption, std::string& text, QWidget* parent)
{
    CDlgInputBox dlg(prompt, caption, parent);
    dlg.m_text = text;
    if (dlg.DoModal() != IDOK) {
        text.clear();
        return false;
    }
    text = dlg.m_text;
    return true;
}
