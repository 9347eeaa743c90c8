#pragma once
// How the energies of several experiments are averaged by the calculations.
#include "platform/ui/ZuPropertyPage.h"

class CPSheetOptions;
class QButtonGroup;

class CPPageMeanMethod : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4050;

    CPPageMeanMethod();

    CPSheetOptions* m_pSheet = nullptr;
    int m_nMeanMethod = -1;

    QButtonGroup* MethodGroup() const { return m_group; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    QButtonGroup* m_group;
};
