#include "app/ui/DockTreeWnd.h"

#include "platform/ui/UiTextTranslator.h"

#include <QShortcut>

#include "app/ui/TreePickers.h"

#include "app/ModelProject.h"
#include "app/BaseProject.h"
#include "app/TALVOProject.h"
#include "app/ui/AppIcons.h"
#include "app/ui/DlgInputPowerData.h"
#include "platform/ui/ProjectTreeModel.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"
#include "app/FrameCommands.h"
#include "platform/win/PromptService.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "platform/win/StringIds.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QToolButton>
#include <QItemSelectionModel>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

CDockTreeWnd::CDockTreeWnd(QWidget* parent) : QDockWidget(QStringLiteral("Project Window"), parent)
{
    setObjectName(QStringLiteral("ProjectWindow"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    m_tabs = new QTabWidget(this);
    // The tabs name the projects as the user named them.
    m_tabs->setProperty(CUiTextTranslator::kDataTexts, true);
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    setWidget(m_tabs);

    // The tab row's buttons step through the projects; square, a scroll bar's width and one.
    auto* corner = new QWidget(m_tabs);
    corner->setObjectName(QStringLiteral("TabButtons"));
    auto* row = new QHBoxLayout(corner);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const int side = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 1;
    const struct
    {
        QStyle::StandardPixmap icon;
        const char* name;
        const char* tip;
    } buttons[4] = {{QStyle::SP_MediaSkipBackward, "TabFirst", "First project"},
                    {QStyle::SP_ArrowLeft, "TabPrevious", "Previous project"},
                    {QStyle::SP_ArrowRight, "TabNext", "Next project"},
                    {QStyle::SP_MediaSkipForward, "TabLast", "Last project"}};
    for (int k = 0; k < 4; ++k) {
        auto* button = new QToolButton(corner);
        button->setObjectName(QString::fromLatin1(buttons[k].name));
        // The steps by one draw the style's own arrows; the jumps to the ends its skip icons.
        if (k == kTabPrevious || k == kTabNext)
            button->setArrowType(k == kTabPrevious ? Qt::LeftArrow : Qt::RightArrow);
        else
            button->setIcon(style()->standardIcon(buttons[k].icon));
        button->setToolTip(QString::fromLatin1(buttons[k].tip));
        button->setAutoRaise(true);
        button->setFixedSize(side, side);
        button->setIconSize(QSize(side - 6, side - 6));
        connect(button, &QToolButton::clicked, this, [this, k] {
            const int count = GetTreeCount();
            const int current = m_tabs->currentIndex();
            const int target = k == kTabFirst      ? 0
                               : k == kTabPrevious ? current - 1
                               : k == kTabNext     ? current + 1
                                                   : count - 1;
            if (target >= 0 && target < count)
                SetActiveIndex(target);
        });
        row->addWidget(button);
        m_tabButtons[k] = button;
    }
    m_tabs->setCornerWidget(corner, Qt::BottomLeftCorner);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        EnsureTree(index);
        UpdateTabButtons();
        emit SelectionChanged();
    });
    UpdateTabButtons();
}

QToolButton* CDockTreeWnd::TabButton(int k) const
{
    return k >= 0 && k < 4 ? m_tabButtons[k] : nullptr;
}

void CDockTreeWnd::SetTabButtonMask(int mask)
{
    m_tabButtonMask = mask & 15;
    UpdateTabButtons();
}

void CDockTreeWnd::UpdateTabButtons()
{
    const int count = GetTreeCount();
    const int current = m_tabs->currentIndex();
    for (int k = 0; k < 4; ++k) {
        m_tabButtons[k]->setVisible((m_tabButtonMask & (1 << k)) != 0);
        const bool back = k == kTabFirst || k == kTabPrevious;
        m_tabButtons[k]->setEnabled(count > 1 && (back ? current > 0 : current >= 0 && current < count - 1));
    }
}

CDockTreeWnd::~CDockTreeWnd() = default;

void CDockTreeWnd::AddTree(CMElement* project, const std::string& label)
{
    InsertTree(GetTreeCount(), project, label);
}

CMElement* CDockTreeWnd::GetTreeProject(int index) const
{
    return index >= 0 && index < GetTreeCount() ? m_tabTrees[static_cast<size_t>(index)].project : nullptr;
}

void CDockTreeWnd::InsertTree(int index, CMElement* project, const std::string& label)
{
    index = std::clamp(index, 0, GetTreeCount());
    // The tab's page holds the tree once it is made: a document opens with every project's tab, and
    // the trees of the tabs not in front are made when first shown.
    auto* page = new QWidget(m_tabs);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tabTrees.insert(m_tabTrees.begin() + index,
                      STabTree{page, project, QStringLiteral("ProjectTree%1").arg(200 + GetTreeCount())});
    // The tab shows the project's kind with the tree's own icon of it.
    m_tabs->insertTab(index, page, ElementIcon(project, true), QString::fromStdString(label));
    if (m_tabs->currentIndex() == index)
        EnsureTree(index);
    UpdateTabButtons();
}

CMTreeCtrlEx* CDockTreeWnd::EnsureTree(int index) const
{
    if (index < 0 || index >= GetTreeCount())
        return nullptr;
    STabTree& entry = m_tabTrees[static_cast<size_t>(index)];
    if (entry.tree)
        return entry.tree;
    auto* self = const_cast<CDockTreeWnd*>(this);
    auto* tree = new CMTreeCtrlEx(entry.page);
    tree->setObjectName(entry.name);
    tree->Model()->AddRootElement(entry.project);
    tree->expand(tree->Model()->index(0, 0));
    connect(tree, &QTreeView::doubleClicked, self, [self] { emit self->OpenSelectionRequested(); });
    // Enter opens the selection as a double-click does (not while a label is edited: the editor
    // has the focus then).
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, tree);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, self, [self] { emit self->OpenSelectionRequested(); });
    }
    connect(tree, &QWidget::customContextMenuRequested, self, [self] { emit self->ContextMenuRequested(); });
    connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, self,
            [self] { emit self->SelectionChanged(); });
    entry.page->layout()->addWidget(tree);
    entry.page->setFocusProxy(tree);
    entry.tree = tree;
    return tree;
}

void CDockTreeWnd::RemoveTree(int index)
{
    if (index < 0 || index >= GetTreeCount())
        return;
    // The tree leaves the array before its tab goes, so that nothing told of the tab change on the
    // way reaches the tree of another tab by the old index.
    QWidget* page = m_tabTrees[static_cast<size_t>(index)].page;
    m_tabTrees.erase(m_tabTrees.begin() + index);
    m_tabs->removeTab(index);
    delete page;
    UpdateTabButtons();
    emit SelectionChanged();
}

void CDockTreeWnd::RemoveAllTrees()
{
    // The dialog works on the document's model project, which goes with the trees.
    CloseInputPowerData();
    for (int i = GetTreeCount() - 1; i >= 0; --i)
        RemoveTree(i);
    update();
}

void CDockTreeWnd::RefreshItems()
{
    // A tree not made yet shows the elements as they are when it is.
    for (const STabTree& entry : m_tabTrees)
        if (CMTreeCtrlEx* tree = entry.tree) {
            tree->Model()->Refresh();
            tree->expand(tree->Model()->index(0, 0));
        }
}

void CDockTreeWnd::SetTreeLabel(int index, const std::string& label)
{
    if (index >= 0 && index < GetTreeCount()) {
        m_tabs->setTabText(index, QString::fromStdString(label));
        if (CMTreeCtrlEx* tree = m_tabTrees[static_cast<size_t>(index)].tree)
            tree->Model()->ElementChanged(tree->Model()->RootAt(0));
    }
}

int CDockTreeWnd::GetActiveIndex() const
{
    return m_tabTrees.empty() ? -1 : m_tabs->currentIndex();
}

void CDockTreeWnd::SetActiveIndex(int index)
{
    if (index >= 0 && index < GetTreeCount())
        m_tabs->setCurrentIndex(index);
}

CMTreeCtrlEx* CDockTreeWnd::GetTree(int index) const
{
    if (index == -1)
        index = GetActiveIndex();
    return EnsureTree(index);
}

int CDockTreeWnd::GetSelection(CMElementList& list) const
{
    list.Clear();
    if (CMTreeCtrlEx* tree = GetActiveTree())
        tree->GetSelection(list);
    return list.GetSize();
}

CMTreeCtrlEx* CDockTreeWnd::TreeShowing(int projectIndex, const CMElement* element) const
{
    if (!element)
        return nullptr;
    // The tree whose project holds the element; the index is only where to look first. A tree not
    // made yet is made now, so that it answers as one made at once would.
    const auto holds = [this, element](int index) {
        const CMElement* root = GetTreeProject(index);
        return root && (root == element || root->IsAncestorOf(element));
    };
    if (holds(projectIndex))
        return GetTree(projectIndex);
    for (int i = 0; i < GetTreeCount(); ++i)
        if (holds(i))
            return GetTree(i);
    return nullptr;
}

bool CDockTreeWnd::AddElement(int projectIndex, CMElement* element)
{
    CMTreeCtrlEx* tree = TreeShowing(projectIndex, element);
    // Below a parent the tree does not show (yet), the element comes with its parent.
    if (!tree || !tree->Model()->IndexOf(element->GetParent()).isValid())
        return false;
    tree->Model()->AddElement(element);
    const QModelIndex idx = tree->Model()->IndexOf(element);
    if (idx.isValid())
        tree->expand(idx.parent());
    return true;
}

bool CDockTreeWnd::RemoveElement(int projectIndex, CMElement* element)
{
    CMTreeCtrlEx* tree = TreeShowing(projectIndex, element);
    if (!tree)
        return false;
    tree->Model()->RemoveElement(element);
    return true;
}

bool CDockTreeWnd::RenameElement(int projectIndex, CMElement* element)
{
    CMTreeCtrlEx* tree = TreeShowing(projectIndex, element);
    if (!tree)
        return false;
    tree->Model()->ElementChanged(element);
    return true;
}

// ---- messages ----

namespace {
constexpr uintptr_t kCommandInputPowerUpdate = 1034;
constexpr uintptr_t kCommandInputPowerSolve = 1056;
constexpr uintptr_t kCloseInputPowerData = 2;
} // namespace

intptr_t CDockTreeWnd::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    auto* element = reinterpret_cast<CMElement*>(lParam);
    switch (msg) {
    case WM_ZU_SUBSYSTEM_PICKED:
    case WM_ZU_SUBSYSTEM_PAIR_PICKED:
        if (!m_pickers)
            m_pickers = std::make_unique<CTreePickers>(*this, this);
        m_pickers->OnMessage(msg == WM_ZU_SUBSYSTEM_PAIR_PICKED, wParam, element);
        return 0;
    case WM_ZU_INPUT_POWER_DATA:
        if (wParam == kCloseInputPowerData)
            CloseInputPowerData();
        else if (wParam == kCommandInputPowerUpdate || wParam == kCommandInputPowerSolve)
            OpenInputPowerData(wParam, element);
        return 0;
    default:
        return 0;
    }
}

void CDockTreeWnd::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    QMetaObject::invokeMethod(
        this, [this, msg, wParam, lParam] { SendMessage(msg, wParam, lParam); }, Qt::QueuedConnection);
}

CDlgInputPowerData* CDockTreeWnd::InputPowerDialog() const
{
    return m_inputPowerDialog;
}

void CDockTreeWnd::OpenInputPowerData(uintptr_t command, CMElement* project)
{
    if (!m_inputPowerDialog) {
        // The model project of the document that holds the project to solve; the first tree's
        // project (the model project leads) when none was given.
        auto* base = dynamic_cast<CBaseProject*>(project);
        CTALVOProject* container = base ? base->GetOwner() : nullptr;
        auto* model = container ? container->GetModelProject() : dynamic_cast<CModelProject*>(GetTreeProject(0));
        if (!model)
            return;
        m_inputPowerDialog = new CDlgInputPowerData(model, this, this);
        m_inputPowerDialog->Create();
    }
    m_inputPowerDialog->SetSolvingModel(dynamic_cast<CModelProject*>(project));
    m_inputPowerDialog->SetMode(command == kCommandInputPowerSolve ? CDlgInputPowerData::modeSolve
                                                                   : CDlgInputPowerData::modeClose);
    m_inputPowerDialog->show();
    m_inputPowerDialog->raise();
}

void CDockTreeWnd::CloseInputPowerData()
{
    if (CDlgInputPowerData* dialog = m_inputPowerDialog) {
        m_inputPowerDialog = nullptr;
        dialog->DestroyWindow();
    }
}

bool CDockTreeWnd::IsResultSelected() const
{
    CMElementList list;
    GetSelection(list);
    return list.GetSize() > 0 && CFrameCommands::IsResultElement(list[0]);
}

int CDockTreeWnd::DeleteSelectedElements()
{
    CMElementList list;
    GetSelection(list);
    std::vector<CMElement*> selected;
    for (int i = 0; i < list.GetSize(); ++i)
        if (list[i] && list[i]->GetParent())
            selected.push_back(list[i]);
    // An element below another selected element is deleted with it: asking for it afterwards would
    // reach a deleted element.
    const auto below = [&selected](const CMElement* e) {
        for (const CMElement* p = e->GetParent(); p; p = p->GetParent())
            if (std::find(selected.begin(), selected.end(), p) != selected.end())
                return true;
        return false;
    };
    std::vector<CMElement*> roots;
    for (CMElement* e : selected)
        if (!below(e))
            roots.push_back(e);
    int deleted = 0;
    for (CMElement* e : roots) {
        if (AfxFormatMessageBox(IDS_DELETE_ELEMENT, MB_YESNO | MB_ICONQUESTION, e->GetName().c_str()) != IDYES)
            continue;
        // The project's tree tells its document, which drops the row and marks itself modified.
        e->GetParent()->DeleteChild(e, 1);
        ++deleted;
    }
    if (deleted > 0)
        emit SelectionChanged();
    return deleted;
}
