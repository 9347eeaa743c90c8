#pragma once
// A one-line input box: a prompt, a text and OK/Cancel. A dialog of our own rather than a stock
// input dialog, so that every question the program asks can be answered by the dialog test hook.
#include "platform/ui/ZuDialog.h"

#include <string>

class QLabel;
class QLineEdit;

class CDlgInputBox : public CZuDialog
{
    Q_OBJECT
public:
    CDlgInputBox(const std::string& prompt, const std::string& caption, QWidget* parent = nullptr);

    std::string m_text; // the text typed; filled before the run to preset it

    QLineEdit* TextEdit() const { return m_edit; }
    QLabel* PromptLabel() const { return m_prompt; }

protected:
    bool DoDataExchange(bool saveAndValidate) override;

private:
    QLabel* m_prompt;
    QLineEdit* m_edit;
};

// Asks for a text; true and the text when the user pressed OK, false and an empty text on Cancel.
bool InputBox(const std::string& prompt, const std::string& caption, std::string& text, QWidget* parent = nullptr);
