#pragma once
// Where a new model comes from: handed over by the modelling application SOLMOX (choice 0) or read
// from a vehicle model file (choice 1).
#include "platform/ui/ZuDialog.h"

class QRadioButton;

class CDlgNewModel : public CZuDialog
{
    Q_OBJECT
public:
    static constexpr int kFromSolmox = 0;
    static constexpr int kFromFile = 1;

    explicit CDlgNewModel(QWidget* parent = nullptr);
    int m_source = -1; // radio group 3206; -1 while nothing is chosen
    QRadioButton* SourceButton(int choice) const { return choice == kFromSolmox ? m_solmox : m_file; }

protected:
    bool DoDataExchange(bool saveAndValidate) override;

private:
    QRadioButton* m_solmox;
    QRadioButton* m_file;
};
