#include "views/ui/PPageIPSrcList.h"

#include "platform/gfx/GfxUtil.h"

#include <QListWidget>
#include <QVBoxLayout>

CPPageIPSrcList::CPPageIPSrcList() : CZuPropertyPage(kTemplateId, "Input Power Sources")
{
    setObjectName(QStringLiteral("PPageIPSrcList"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("c3163"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
}

bool CPPageIPSrcList::OnInitDialog()
{
    m_list->clear();
    CZuSubsystemTable names;
    for (std::string name : m_sources.Names()) {
        CGfxUtil::RemoveWaveSign(name);
        names.AddUnique(name);
    }
    for (const std::string& name : names.Names())
        m_list->addItem(QString::fromStdString(name));
    return true;
}
