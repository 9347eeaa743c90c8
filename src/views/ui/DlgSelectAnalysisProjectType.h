#pragma once
// Asks whether a new analysis works over engine speed (0) or over engine orders (1).
#include "platform/ui/ZuDialog.h"

class QButtonGroup;

class CDlgSelectAnalysisProjectType : public CZuDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4061;

    explicit CDlgSelectAnalysisProjectType(QWidget* parent = nullptr);

    int m_nType = 0;
    QButtonGroup* TypeGroup() const { return m_group; }

protected:
    bool DoDataExchange(bool saveAndValidate) override;

private:
    QButtonGroup* m_group;
};
