#include "views/ui/PPageIPSrcList.h"

#include "platform/gfx/GfxUtil.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmResultData.h"
#include "platform/win/StatusBarFallback.h"

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
    CZuSubsystemTable sources = m_sources;
    if (m_result) {
        sources.Clear();
        if (auto* rpm = DynamicDowncast<CZuRpmResultData>(m_result))
            rpm->CollectInputPowerSubsystems(sources, 1, &*CStatusBarFallback(nullptr));
        else if (auto* ot = DynamicDowncast<CZuOTResultData>(m_result))
            ot->CollectInputPowerSubsystems(sources, 1, &*CStatusBarFallback(nullptr));
    }
    CZuSubsystemTable names;
    for (std::string name : sources.Names()) {
        CGfxUtil::RemoveWaveSign(name);
        names.AddUnique(name);
    }
    for (const std::string& name : names.Names())
        m_list->addItem(QString::fromStdString(name));
    return true;
}
