#pragma once
// Asks, when a new DAQ project is made, whether it is measured with the acquisition hardware (0) or
// built from universal files measured elsewhere (1).
#include "platform/ui/ZuDialog.h"

class QButtonGroup;

class CDlgSelectDAQSystem : public CZuDialog
{
    Q_OBJECT
public:
    enum
    {
        IDD = 4102,
        IDC_FIRST_CHOICE = 3206
    };

    explicit CDlgSelectDAQSystem(QWidget* parent = nullptr);

    int GetChoice() const { return m_choice; }
    void SetChoice(int choice) { m_choice = choice; }
    QButtonGroup* Choices() const { return m_choices; }

protected:
    bool DoDataExchange(bool saveAndValidate) override;

private:
    int m_choice = 0;
    QButtonGroup* m_choices;
};
