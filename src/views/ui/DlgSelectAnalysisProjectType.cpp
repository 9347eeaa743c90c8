#include "views/ui/DlgSelectAnalysisProjectType.h"

#include "platform/ui/DialogButtons.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

CDlgSelectAnalysisProjectType::CDlgSelectAnalysisProjectType(QWidget* parent) : CZuDialog(parent, kTemplateId)
{
    setObjectName(QStringLiteral("DlgSelectAnalysisProjectType"));
    setWindowTitle(tr("New Analysis Project"));
    auto* box = new QGroupBox(tr("Analysis over"), this);
    auto* boxLayout = new QVBoxLayout(box);
    m_group = new QButtonGroup(this);
    const char* texts[2] = {"Engine speed (RPM)", "Engine orders"};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(tr(texts[i]), box);
        r->setObjectName(QStringLiteral("c3217_%1").arg(i));
        m_group->addButton(r, i);
        boxLayout->addWidget(r);
    }
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
}

bool CDlgSelectAnalysisProjectType::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_nType = m_group->checkedId();
    else if (QAbstractButton* b = m_group->button(m_nType))
        b->setChecked(true);
    return true;
}
