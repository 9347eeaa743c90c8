#pragma once
// The one item model of every element tree view (the project window's trees, the measurement
// window's tree): each root element (a project) is a top-level row and its children are rows below
// it, in the order the tree holds them. The model keeps a light node per element it shows, so
// parent and row look-ups stay constant time on trees of many thousands of elements. The model
// itself holds no observer: the observer at the tree's root (a project, the measurement document)
// hears every addition, removal and rename and passes it to AddElement, RemoveElement and
// ElementChanged; Refresh rebuilds everything from the elements. The rows show the elements' names
// as ShownElementName gives them: the names the program gave in the language loaded.
#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMElement;

class CProjectTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    // Role that carries the element pointer of an index.
    static constexpr int ElementRole = Qt::UserRole + 1;
    static constexpr int TypeRole = Qt::UserRole + 2;

    explicit CProjectTreeModel(QObject* parent = nullptr);
    ~CProjectTreeModel() override;

    // Appends a root element (not owned); returns its row, or the existing row when it is shown.
    int AddRootElement(CMElement* root);
    // Adds an element under its parent's row, at its position among the parent's children. An
    // element whose parent is not shown is added as a root. False when it is shown already or null.
    bool AddElement(CMElement* element);
    // Removes an element's row (and its subtree) without touching the element. False when not shown.
    bool RemoveElement(CMElement* element);
    // Drops every row.
    void Clear();
    // Rebuilds every row from the root elements' present trees.
    void Refresh();

    int RootCount() const { return static_cast<int>(m_roots.size()); }
    CMElement* RootAt(int row) const;
    // The element of an index; null for an invalid one.
    CMElement* ElementOf(const QModelIndex& index) const;
    // The index of an element shown by the model; invalid when it is not shown.
    QModelIndex IndexOf(const CMElement* element) const;
    // Element's name changed: repaints its row.
    void ElementChanged(const CMElement* element);
    // The language changed: every row shows the program's own names anew (ShownElementName). A
    // model made with its view as parent does so when the view hears of the change.
    void LanguageChanged();

    // Label editing: which elements' labels may be edited, and what takes an edited label (true
    // when the element took it). Without an editor no label is editable.
    using LabelEditRule = std::function<bool(const CMElement*)>;
    using LabelEditor = std::function<bool(CMElement*, const std::string&)>;
    void SetLabelEditor(LabelEditRule editable, LabelEditor editor);
    // The icon of an element's row (hasChildren: a root, or an element with rows below it). Without
    // a provider the rows show no icon.
    using IconProvider = std::function<QIcon(const CMElement*, bool hasChildren)>;
    void SetIconProvider(IconProvider icons) { m_icons = std::move(icons); }

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Node
    {
        CMElement* element = nullptr;
        Node* parent = nullptr;
        int row = 0;
        std::vector<std::unique_ptr<Node>> children;
    };

    std::unique_ptr<Node> MakeNode(CMElement* element, Node* parent, int row);
    void Unregister(Node* node);
    void Renumber(std::vector<std::unique_ptr<Node>>& list, size_t from);
    Node* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOfNode(const Node* node) const;

    std::vector<std::unique_ptr<Node>> m_roots;
    QHash<const CMElement*, Node*> m_nodes;
    LabelEditRule m_editable;
    LabelEditor m_editor;
    IconProvider m_icons;
};
