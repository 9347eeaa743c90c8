#pragma once
// Information page: the DAQ project an analysis refers to.
#include "platform/ui/ZuPropertyPage.h"

#include <string>

class QLineEdit;

class CPPageRefDaqProject : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4053;

    CPPageRefDaqProject();

    std::string m_strText; // the DAQ project's name, or the "none" text
    QLineEdit* TextEdit() const { return m_edit; }

protected:
    bool DoDataExchange(bool saveAndValidate) override;

private:
    QLineEdit* m_edit;
};
