#include "calculation/ui/PPageLocalPoint.h"

#include "platform/base/Format.h"

#include <QMetaObject>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kCopyRole = Qt::UserRole;      // root: index of the copy
constexpr int kEntryRole = Qt::UserRole + 1; // root: index of the entry in the copy's list
constexpr int kIndexRole = Qt::UserRole + 2; // child: 0-based local point
} // namespace

CPPageLocalPoint::CPPageLocalPoint() : CZuPropertyPage(kTemplateId, "Local Points")
{
    setObjectName(QStringLiteral("PPageLocalPoint"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("c3264"));
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumSize(260, 220);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    // Handled once the tree has finished with the click or key that changed a tick.
    connect(m_tree, &QTreeWidget::itemChanged, this, [this] {
        if (m_building || m_pending)
            return;
        m_pending = true;
        QMetaObject::invokeMethod(
            this, [this] { OnTreeChanged(); }, Qt::QueuedConnection);
    });
}

bool CPPageLocalPoint::OnInitDialog()
{
    if (!m_pOptions)
        return true;
    m_copies.clear();
    for (CCalcOptions* live : *m_pOptions)
        m_copies.push_back(live ? *live : CCalcOptions());
    BuildTree();
    return true;
}

QTreeWidgetItem* CPPageLocalPoint::AddRoot(int copy, int entry)
{
    const CSubsystemLPInfo& info = m_copies[size_t(copy)].GetSubsystemLPInfoList()[entry];
    auto* root = new QTreeWidgetItem(m_tree, QStringList(QString::fromStdString(info.GetName())));
    root->setData(0, kCopyRole, copy);
    root->setData(0, kEntryRole, entry);
    root->setFlags(root->flags() | Qt::ItemIsUserCheckable);
    root->setCheckState(0, Qt::Checked);
    for (int i = 0; i < info.GetSize(); ++i) {
        auto* child = new QTreeWidgetItem(root, QStringList(QString::fromStdString(Format("LP #%d", i + 1))));
        child->setData(0, kIndexRole, i);
        child->setFlags(child->flags() | Qt::ItemIsUserCheckable);
        child->setCheckState(0, info.GetAt(i) ? Qt::Checked : Qt::Unchecked);
    }
    root->setExpanded(true);
    return root;
}

void CPPageLocalPoint::BuildTree()
{
    m_building = true;
    m_tree->clear();
    if (!m_copies.empty()) {
        if (m_copies.front().GetSubsystemLPInfoList().GetSize() >= 2)
            AddRoot(0, 1);
        for (size_t c = 0; c < m_copies.size(); ++c)
            if (m_copies[c].GetSubsystemLPInfoList().GetSize() >= 1)
                AddRoot(int(c), 0);
    }
    m_building = false;
}

void CPPageLocalPoint::OnTreeChanged()
{
    m_pending = false;
    if (!m_bReadOnly)
        return;
    // Read-only: every tick goes back to what the copies say.
    m_building = true;
    for (int r = 0; r < m_tree->topLevelItemCount(); ++r) {
        QTreeWidgetItem* root = m_tree->topLevelItem(r);
        root->setCheckState(0, Qt::Checked);
        const CSubsystemLPInfo& info = m_copies[size_t(root->data(0, kCopyRole).toInt())]
                                           .GetSubsystemLPInfoList()[root->data(0, kEntryRole).toInt()];
        for (int k = 0; k < root->childCount(); ++k) {
            QTreeWidgetItem* child = root->child(k);
            const int index = child->data(0, kIndexRole).toInt();
            child->setCheckState(0, index < info.GetSize() && info.GetAt(index) ? Qt::Checked : Qt::Unchecked);
        }
    }
    m_building = false;
}

void CPPageLocalPoint::OnOK()
{
    if (!m_pOptions || !IsInitialized() || m_copies.empty())
        return;
    for (int r = 0; r < m_tree->topLevelItemCount(); ++r) {
        QTreeWidgetItem* root = m_tree->topLevelItem(r);
        CSubsystemLPInfo& info = m_copies[size_t(root->data(0, kCopyRole).toInt())]
                                     .GetSubsystemLPInfoList()[root->data(0, kEntryRole).toInt()];
        for (int k = 0; k < root->childCount(); ++k) {
            QTreeWidgetItem* child = root->child(k);
            const int index = child->data(0, kIndexRole).toInt();
            if (index < info.GetSize())
                info.SetAt(index, child->checkState(0) == Qt::Checked ? 1 : 0);
        }
    }
    // The target local points are one selection for all data sets.
    const CSubsystemLPInfoList& first = m_copies.front().GetSubsystemLPInfoList();
    if (first.GetSize() >= 2) {
        const CSubsystemLPInfo target = first[1];
        for (size_t c = 1; c < m_copies.size(); ++c) {
            CSubsystemLPInfoList& list = m_copies[c].GetSubsystemLPInfoList();
            if (list.GetSize() < 2)
                list.SetSize(2);
            list[1] = target;
        }
    }
    for (size_t c = 0; c < m_copies.size() && c < m_pOptions->size(); ++c) {
        CCalcOptions* live = (*m_pOptions)[c];
        if (!live || live->GetSubsystemLPInfoList() == m_copies[c].GetSubsystemLPInfoList())
            continue;
        m_bChanged = true;
        live->GetSubsystemLPInfoList() = m_copies[c].GetSubsystemLPInfoList();
    }
}
