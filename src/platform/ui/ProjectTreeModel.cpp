#include "platform/ui/ProjectTreeModel.h"

#include "platform/elements/MElement.h"
#include "platform/elements/ShownElementName.h"

#include <QEvent>

CProjectTreeModel::CProjectTreeModel(QObject* parent) : QAbstractItemModel(parent)
{
    // The view that owns the model hears of a change of language; its rows follow.
    if (parent)
        parent->installEventFilter(this);
}

bool CProjectTreeModel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QObject::parent() && event->type() == QEvent::LanguageChange)
        LanguageChanged();
    return QAbstractItemModel::eventFilter(watched, event);
}

CProjectTreeModel::~CProjectTreeModel() = default;

std::unique_ptr<CProjectTreeModel::Node> CProjectTreeModel::MakeNode(CMElement* element, Node* parent, int row)
{
    // Built iteratively: a deep tree must not exhaust the stack.
    auto root = std::make_unique<Node>();
    root->element = element;
    root->parent = parent;
    root->row = row;
    m_nodes.insert(element, root.get());
    std::vector<Node*> pending{root.get()};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        const int count = node->element->GetChildCount();
        node->children.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            CMElement* child = node->element->GetChild(i);
            if (!child || m_nodes.contains(child))
                continue;
            auto n = std::make_unique<Node>();
            n->element = child;
            n->parent = node;
            n->row = static_cast<int>(node->children.size());
            m_nodes.insert(child, n.get());
            pending.push_back(n.get());
            node->children.push_back(std::move(n));
        }
    }
    return root;
}

void CProjectTreeModel::Unregister(Node* node)
{
    std::vector<Node*> pending{node};
    while (!pending.empty()) {
        Node* n = pending.back();
        pending.pop_back();
        m_nodes.remove(n->element);
        for (auto& c : n->children)
            pending.push_back(c.get());
    }
}

void CProjectTreeModel::Renumber(std::vector<std::unique_ptr<Node>>& list, size_t from)
{
    for (size_t i = from; i < list.size(); ++i)
        list[i]->row = static_cast<int>(i);
}

int CProjectTreeModel::AddRootElement(CMElement* root)
{
    if (!root)
        return -1;
    if (Node* existing = m_nodes.value(root)) {
        if (!existing->parent)
            return existing->row;
        RemoveElement(root);
    }
    const int row = static_cast<int>(m_roots.size());
    beginInsertRows(QModelIndex(), row, row);
    m_roots.push_back(MakeNode(root, nullptr, row));
    endInsertRows();
    return row;
}

bool CProjectTreeModel::AddElement(CMElement* element)
{
    if (!element || m_nodes.contains(element))
        return false;
    Node* parentNode = element->GetParent() ? m_nodes.value(element->GetParent()) : nullptr;
    if (!parentNode)
        return AddRootElement(element) >= 0;

    // The row follows the element's position among those of its siblings that are shown. An element
    // added last (the usual case) goes last in constant time; otherwise the row is that of the first
    // shown sibling after it.
    CMElement* parentElement = parentNode->element;
    size_t row = parentNode->children.size();
    const int childCount = parentElement->GetChildCount();
    if (childCount > 0 && parentElement->GetChild(childCount - 1) != element) {
        const int dataIndex = parentElement->GetChildIndex(element);
        for (int i = dataIndex < 0 ? childCount : dataIndex + 1; i < childCount; ++i) {
            const Node* sibling = m_nodes.value(parentElement->GetChild(i));
            if (sibling && sibling->parent == parentNode) {
                row = static_cast<size_t>(sibling->row);
                break;
            }
        }
    }
    const QModelIndex parentIndex = IndexOfNode(parentNode);
    beginInsertRows(parentIndex, static_cast<int>(row), static_cast<int>(row));
    parentNode->children.insert(parentNode->children.begin() + static_cast<std::ptrdiff_t>(row),
                                MakeNode(element, parentNode, static_cast<int>(row)));
    Renumber(parentNode->children, row);
    endInsertRows();
    return true;
}

bool CProjectTreeModel::RemoveElement(CMElement* element)
{
    Node* node = element ? m_nodes.value(element) : nullptr;
    if (!node)
        return false;
    auto& list = node->parent ? node->parent->children : m_roots;
    const int row = node->row;
    beginRemoveRows(IndexOfNode(node->parent), row, row);
    Unregister(node);
    list.erase(list.begin() + row);
    Renumber(list, static_cast<size_t>(row));
    endRemoveRows();
    return true;
}

void CProjectTreeModel::Clear()
{
    beginResetModel();
    m_roots.clear();
    m_nodes.clear();
    endResetModel();
}

void CProjectTreeModel::Refresh()
{
    std::vector<CMElement*> roots;
    roots.reserve(m_roots.size());
    for (auto& r : m_roots)
        roots.push_back(r->element);
    beginResetModel();
    m_roots.clear();
    m_nodes.clear();
    for (CMElement* r : roots)
        if (!m_nodes.contains(r))
            m_roots.push_back(MakeNode(r, nullptr, static_cast<int>(m_roots.size())));
    endResetModel();
}

CMElement* CProjectTreeModel::RootAt(int row) const
{
    return (row >= 0 && row < RootCount()) ? m_roots[static_cast<size_t>(row)]->element : nullptr;
}

CProjectTreeModel::Node* CProjectTreeModel::NodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

CMElement* CProjectTreeModel::ElementOf(const QModelIndex& index) const
{
    Node* node = NodeOf(index);
    return node ? node->element : nullptr;
}

QModelIndex CProjectTreeModel::IndexOfNode(const Node* node) const
{
    return node ? createIndex(node->row, 0, const_cast<Node*>(node)) : QModelIndex();
}

QModelIndex CProjectTreeModel::IndexOf(const CMElement* element) const
{
    return IndexOfNode(m_nodes.value(element));
}

void CProjectTreeModel::LanguageChanged()
{
    // A changed range has one parent: the rows under each parent in turn, without recursion (deep
    // trees).
    std::vector<const std::vector<std::unique_ptr<Node>>*> pending{&m_roots};
    while (!pending.empty()) {
        const auto& list = *pending.back();
        pending.pop_back();
        if (list.empty())
            continue;
        emit dataChanged(IndexOfNode(list.front().get()), IndexOfNode(list.back().get()),
                         {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole});
        for (const auto& node : list)
            pending.push_back(&node->children);
    }
}

void CProjectTreeModel::ElementChanged(const CMElement* element)
{
    const QModelIndex idx = IndexOf(element);
    if (idx.isValid())
        emit dataChanged(idx, idx);
}

QModelIndex CProjectTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return QModelIndex();
    const auto& list = parent.isValid() ? NodeOf(parent)->children : m_roots;
    if (row >= static_cast<int>(list.size()))
        return QModelIndex();
    return createIndex(row, 0, list[static_cast<size_t>(row)].get());
}

QModelIndex CProjectTreeModel::parent(const QModelIndex& child) const
{
    Node* node = NodeOf(child);
    return node ? IndexOfNode(node->parent) : QModelIndex();
}

int CProjectTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(parent.isValid() ? NodeOf(parent)->children.size() : m_roots.size());
}

int CProjectTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant CProjectTreeModel::data(const QModelIndex& index, int role) const
{
    Node* node = NodeOf(index);
    if (!node)
        return QVariant();
    switch (role) {
    // The program's own names in the language loaded; an edit starts from the text shown.
    case Qt::DisplayRole:
    case Qt::EditRole:
    // The dock is narrow: a name cut short by its width is read whole from the tooltip.
    case Qt::ToolTipRole:
        return QString::fromStdString(ShownElementName(node->element->GetName()));
    case Qt::DecorationRole:
        // Projects by their kind, folders (elements with children) and leaves.
        return m_icons ? QVariant(m_icons(node->element, !node->parent || !node->children.empty())) : QVariant();
    case ElementRole:
        return QVariant::fromValue(static_cast<void*>(node->element));
    case TypeRole:
        return node->element->GetType();
    default:
        return QVariant();
    }
}

Qt::ItemFlags CProjectTreeModel::flags(const QModelIndex& index) const
{
    Node* node = NodeOf(index);
    if (!node)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editor && m_editable && m_editable(node->element))
        flags |= Qt::ItemIsEditable;
    return flags;
}

void CProjectTreeModel::SetLabelEditor(LabelEditRule editable, LabelEditor editor)
{
    m_editable = std::move(editable);
    m_editor = std::move(editor);
}

bool CProjectTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    Node* node = NodeOf(index);
    if (role != Qt::EditRole || !node || !(flags(index) & Qt::ItemIsEditable))
        return false;
    // A label left as it was shown keeps the stored name, whatever language shows it.
    const std::string name = StoredNameOfLabel(node->element->GetName(), value.toString().toStdString());
    if (name == node->element->GetName())
        return true;
    if (!m_editor(node->element, name))
        return false;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}
