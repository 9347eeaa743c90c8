#pragma once
// Composes a bundle ID from a number text and a name; refuses characters outside their sets and
// an ID that a bundle already has.
#include "platform/ui/ZuDialog.h"

#include <string>

class CSensorProject;
class QLineEdit;

class CDlgBlixBundleName : public CZuDialog
{
    Q_OBJECT
public:
    explicit CDlgBlixBundleName(CSensorProject* project, QWidget* parent = nullptr);

    std::string m_number; // control 3122
    std::string m_name;   // control 3126
    // The composed ID after OK.
    std::string GetBundleID() const;

    QLineEdit* NumberEdit() const { return m_numberEdit; }
    QLineEdit* NameEdit() const { return m_nameEdit; }

protected:
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    CSensorProject* m_project;
    QLineEdit* m_numberEdit;
    QLineEdit* m_nameEdit;
};
