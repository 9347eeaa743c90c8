#include "views/ui/PPageMeanMethod.h"

#include "models/HSEAOptions.h"
#include "views/ui/PSheetOptions.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

CPPageMeanMethod::CPPageMeanMethod() : CZuPropertyPage(kTemplateId, "Mean Method")
{
    setObjectName(QStringLiteral("PPageMeanMethod"));
    auto* box = new QGroupBox(tr("Averaging of experiments"), this);
    auto* boxLayout = new QVBoxLayout(box);
    m_group = new QButtonGroup(this);
    const char* texts[3] = {"Mean of energies", "Mean of energies (weighted by count)", "Robust mean of energy levels"};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(tr(texts[i]), box);
        r->setObjectName(QStringLiteral("c3206_%1").arg(i));
        m_group->addButton(r, i);
        boxLayout->addWidget(r);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addStretch(1);
}

bool CPPageMeanMethod::OnInitDialog()
{
    if (m_pSheet && m_pSheet->GetOptions())
        m_nMeanMethod = m_pSheet->GetOptions()->m_nMeanMethod;
    UpdateData(false);
    return true;
}

bool CPPageMeanMethod::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_nMeanMethod = m_group->checkedId();
    else if (QAbstractButton* b = m_group->button(m_nMeanMethod))
        b->setChecked(true);
    return true;
}
