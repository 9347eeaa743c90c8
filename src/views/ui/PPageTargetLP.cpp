#include "views/ui/PPageTargetLP.h"

#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"

#include <QTreeWidget>
#include <QVBoxLayout>

CPPageTargetLP::CPPageTargetLP() : CZuPropertyPage(kTemplateId, "Target Local Points")
{
    setObjectName(QStringLiteral("PPageTargetLP"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("c3264"));
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumSize(260, 220);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
}

bool CPPageTargetLP::OnInitDialog()
{
    if (!m_pProject)
        return true;
    CMElementList used;
    if (m_pProject->GetUsedDAQExperiments(used) > 0)
        if (auto* exp = dynamic_cast<CDAQExperiment*>(used[0])) {
            const CSubsystemLPInfoList& list = exp->GetCalcOptions()->GetSubsystemLPInfoList();
            if (list.GetSize() >= 2)
                m_info = list[1];
        }
    m_tree->clear();
    auto* root = new QTreeWidgetItem(m_tree, QStringList(QString::fromStdString(m_info.GetName())));
    root->setFlags(root->flags() | Qt::ItemIsUserCheckable);
    root->setCheckState(0, Qt::Checked);
    for (int i = 0; i < m_info.GetSize(); ++i) {
        auto* child = new QTreeWidgetItem(root, QStringList(QString::fromStdString(Format("LP #%d", i + 1))));
        child->setFlags(child->flags() | Qt::ItemIsUserCheckable);
        child->setCheckState(0, m_info.GetAt(i) ? Qt::Checked : Qt::Unchecked);
    }
    root->setExpanded(true);
    return true;
}

void CPPageTargetLP::OnOK()
{
    if (!IsInitialized() || m_tree->topLevelItemCount() == 0)
        return;
    QTreeWidgetItem* root = m_tree->topLevelItem(0);
    for (int k = 0; k < root->childCount() && k < m_info.GetSize(); ++k)
        m_info.SetAt(k, root->child(k)->checkState(0) == Qt::Checked ? 1 : 0);
}
