#pragma once
// Asks for the kind of result to calculate: vibration level, SPL, dominant path, power
// contribution or the power-contribution viewer (0-4). A kind is offered only while the main
// window's command for it is enabled.
#include "platform/ui/ZuDialog.h"

#include <functional>

class QButtonGroup;
class QPushButton;

class CDlgSelectResultType : public CZuDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4082;
    // The main window's commands behind the five kinds, in order.
    static constexpr int kCommands[5] = {1067, 1057, 1003, 1036, 1077};

    // commandEnabled: whether the main window enables a command (none: every kind is offered).
    explicit CDlgSelectResultType(std::function<bool(int)> commandEnabled = {}, QWidget* parent = nullptr);

    // The chosen kind; -1 when none was chosen or the dialog was cancelled.
    int GetSelection() const { return m_nSelection; }
    void Choose(int kind);

    QButtonGroup* KindGroup() const { return m_group; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    std::function<bool(int)> m_commandEnabled;
    int m_nSelection = -1;
    QButtonGroup* m_group;
    QPushButton* m_ok;
};
