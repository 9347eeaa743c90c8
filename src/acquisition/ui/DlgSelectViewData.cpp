#include "acquisition/ui/DlgSelectViewData.h"
#include "acquisition/ui/DlgCalender.h"

#include "app/DAQExperiment.h"
#include "experiments/ExpInfo.h"
#include "platform/elements/MElement.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"

#include <QDateTime>
#include <QDate>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <set>

namespace {
CMElement* ElementOf(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<CMElement*>(item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

CDAQExperiment* DataSetOf(const QTreeWidgetItem* item)
{
    return ElementCast<CDAQExperiment>(ElementOf(item));
}

QDate LocalDate(int64_t time)
{
    return QDateTime::fromSecsSinceEpoch(time).date();
}
CDlgSelectViewData::PropertiesOpener& PropertiesOpenerOf()
{
    static CDlgSelectViewData::PropertiesOpener opener;
    return opener;
}
} // namespace

void CDlgSelectViewData::SetPropertiesOpener(PropertiesOpener opener)
{
    PropertiesOpenerOf() = std::move(opener);
}

void CDlgSelectViewData::ShowProperties()
{
    QTreeWidgetItem* item = m_tree->currentItem();
    CDAQExperiment* dataSet = DataSetOf(item);
    if (dataSet && PropertiesOpenerOf())
        PropertiesOpenerOf()(dataSet, this);
}

CDlgSelectViewData* CDlgSelectViewData::CreateInstance(const void* key, QWidget* parent)
{
    return Instances().RegisterNew(key, [&] { return new CDlgSelectViewData(parent, modeModeless); });
}

CDlgSelectViewData::CDlgSelectViewData(QWidget* parent, int mode) : CZuDialog(parent, IDD), m_mode(mode)
{
    setWindowTitle(tr("Data to Compare"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    QStyle* s = style();
    AddButton(IDC_TICK_ALL, "tickAll", QString::fromStdString(LoadString(IDS_TICK_ALL)))
        ->setIcon(s->standardIcon(QStyle::SP_DialogYesButton));
    AddButton(IDC_UNTICK_ALL, "untickAll", QString::fromStdString(LoadString(IDS_UNTICK_ALL)))
        ->setIcon(s->standardIcon(QStyle::SP_DialogNoButton));
    AddButton(IDC_TICK_USED, "tickUsed", QString::fromStdString(LoadString(IDS_TICK_USED)))
        ->setIcon(s->standardIcon(QStyle::SP_DialogApplyButton));
    AddButton(IDC_TICK_DATE, "tickDate", QString::fromStdString(LoadString(IDS_TICK_DATE)))
        ->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    AddButton(IDC_PROPERTIES, "properties", QString::fromStdString(LoadString(IDS_DATA_SET_PROPERTIES)))
        ->setIcon(s->standardIcon(QStyle::SP_FileDialogInfoView));
    AddButton(IDC_WRITE_BACK, "writeBack", QString::fromStdString(LoadString(IDS_APPLY_TICKS)))
        ->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    for (const auto& [id, button] : m_buttons)
        bar->addWidget(button);
    bar->addStretch(1);
    layout->addLayout(bar);
    m_tree = new CCustomTreeCtrl(this);
    m_tree->setObjectName("tree");
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumSize(240, 300);
    layout->addWidget(m_tree, 1);
    auto* buttons = CDialogButtons::OkCancel(this);
    layout->addWidget(buttons);

    connect(Button(IDC_TICK_ALL), &QToolButton::clicked, this, [this] { TickAll(true); });
    connect(Button(IDC_UNTICK_ALL), &QToolButton::clicked, this, [this] { TickAll(false); });
    connect(Button(IDC_TICK_USED), &QToolButton::clicked, this, [this] { TickUsed(); });
    connect(Button(IDC_TICK_DATE), &QToolButton::clicked, this, [this] {
        // The calendar preset with today; OK ticks the data sets of the chosen day.
        CDlgCalender calendar(this);
        calendar.setWindowTitle(tr("Measurement Date"));
        calendar.m_date = CDlgCalender::DayStart(QDate::currentDate());
        if (calendar.DoModal() != IDOK)
            return;
        const QDate day = QDateTime::fromSecsSinceEpoch(qint64(calendar.m_date)).date();
        TickDate(day.year(), day.month(), day.day());
    });
    connect(Button(IDC_WRITE_BACK), &QToolButton::clicked, this, [this] { WriteBack(); });
    connect(Button(IDC_PROPERTIES), &QToolButton::clicked, this, [this] { ShowProperties(); });
    Button(IDC_PROPERTIES)->setEnabled(false);

    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (!m_building)
            OnItemTicked(item);
    });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        // Properties are those of a data set.
        Button(IDC_PROPERTIES)->setEnabled(PropertiesOpenerOf() && DataSetOf(item));
        if (m_building || !item)
            return;
        if (CMElement* element = ElementOf(item); element && onSelected)
            onSelected(element);
    });
}

CDlgSelectViewData::~CDlgSelectViewData() = default;

QToolButton* CDlgSelectViewData::AddButton(int id, const QString& name, const QString& tip)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setIconSize(QSize(16, 16));
    m_buttons.emplace_back(id, button);
    return button;
}

QToolButton* CDlgSelectViewData::Button(int id) const
{
    for (const auto& [i, button] : m_buttons)
        if (i == id)
            return button;
    return nullptr;
}

bool CDlgSelectViewData::OnInitDialog()
{
    BuildTree();
    return true;
}

void CDlgSelectViewData::BuildTree()
{
    m_building = true;
    m_tree->clear();
    for (CMElement* root : m_roots) {
        if (!root)
            continue;
        auto* top = new QTreeWidgetItem(m_tree, QStringList(QString::fromStdString(root->GetName())));
        top->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(root)));
        top->setFlags(top->flags() | Qt::ItemIsUserCheckable);
        top->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
        for (int i = 0; i < root->GetChildCount(); ++i) {
            CMElement* child = root->GetChild(i);
            // Only data sets that hold measured functions are offered.
            if (!child || child->GetChildCount() == 0)
                continue;
            auto* item = new QTreeWidgetItem(top, QStringList(QString::fromStdString(child->GetName())));
            item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(child)));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, m_ticked.Index(child) >= 0 ? Qt::Checked : Qt::Unchecked);
            item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
            // Data sets not in use are shown greyed.
            if (auto* set = ElementCast<CDAQExperiment>(child); set && set->GetUseFlag() == 0)
                item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
        }
        top->setCheckState(0, Qt::Unchecked);
    }
    UpdateRoots();
    m_building = false;
}

void CDlgSelectViewData::UpdateRoots()
{
    const bool wasBuilding = m_building;
    m_building = true;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        bool all = top->childCount() > 0;
        for (int k = 0; k < top->childCount(); ++k)
            all = all && top->child(k)->checkState(0) == Qt::Checked;
        top->setCheckState(0, all ? Qt::Checked : Qt::Unchecked);
    }
    m_building = wasBuilding;
}

void CDlgSelectViewData::RebuildTickedList(bool notify)
{
    m_ticked = CMElementList();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        for (int k = 0; k < top->childCount(); ++k)
            if (top->child(k)->checkState(0) == Qt::Checked)
                m_ticked.Add(ElementOf(top->child(k)));
    }
    if (notify && onTickedChanged)
        onTickedChanged(m_ticked);
}

void CDlgSelectViewData::OnItemTicked(QTreeWidgetItem* item)
{
    m_building = true;
    if (!item->parent()) {
        for (int k = 0; k < item->childCount(); ++k)
            item->child(k)->setCheckState(0, item->checkState(0));
    }
    m_building = false;
    UpdateRoots();
    RebuildTickedList(true);
}

void CDlgSelectViewData::TickAll(bool tick)
{
    m_building = true;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        top->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
        for (int k = 0; k < top->childCount(); ++k)
            top->child(k)->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
    }
    m_building = false;
    UpdateRoots();
    RebuildTickedList(true);
}

void CDlgSelectViewData::TickUsed()
{
    m_building = true;
    m_tree->collapseAll();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        for (int k = 0; k < top->childCount(); ++k)
            if (CDAQExperiment* set = DataSetOf(top->child(k)); set && set->GetUseFlag() == 1) {
                top->child(k)->setCheckState(0, Qt::Checked);
                top->setExpanded(true);
            }
    }
    m_building = false;
    UpdateRoots();
    RebuildTickedList(true);
}

void CDlgSelectViewData::TickDate(int year, int month, int day)
{
    const QDate wanted(year, month, day);
    m_building = true;
    m_tree->collapseAll();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        for (int k = 0; k < top->childCount(); ++k) {
            CDAQExperiment* set = DataSetOf(top->child(k));
            if (set && set->GetExpInfo() && LocalDate(set->GetExpInfo()->GetTime()) == wanted) {
                top->child(k)->setCheckState(0, Qt::Checked);
                top->setExpanded(true);
            }
        }
    }
    m_building = false;
    UpdateRoots();
    RebuildTickedList(true);
}

void CDlgSelectViewData::WriteBack()
{
    if (AfxMessageBox(IDS_WRITE_TICKS_BACK, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    std::vector<std::pair<CDAQExperiment*, bool>> items;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        for (int k = 0; k < top->childCount(); ++k)
            if (CDAQExperiment* set = DataSetOf(top->child(k)))
                items.emplace_back(set, top->child(k)->checkState(0) == Qt::Checked);
    }
    // The first item met decides for every data set measured at the same time.
    std::set<CDAQExperiment*> done;
    for (const auto& [set, tick] : items) {
        if (done.count(set))
            continue;
        const int64_t time = set->GetExpInfo() ? set->GetExpInfo()->GetTime() : 0;
        for (const auto& [other, ignored] : items) {
            if (done.count(other))
                continue;
            const int64_t t = other->GetExpInfo() ? other->GetExpInfo()->GetTime() : 0;
            if (other == set || t == time) {
                other->SetUseFlag(tick ? 1 : 0);
                done.insert(other);
            }
        }
    }
    BuildTree();
}

QTreeWidgetItem* CDlgSelectViewData::FindItem(const CMElement* element) const
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        if (ElementOf(top) == element)
            return top;
        for (int k = 0; k < top->childCount(); ++k)
            if (ElementOf(top->child(k)) == element)
                return top->child(k);
    }
    return nullptr;
}

void CDlgSelectViewData::SelectElement(CMElement* element)
{
    QTreeWidgetItem* item = FindItem(element);
    if (!item)
        return;
    m_building = true;
    if (item->parent())
        item->parent()->setExpanded(true);
    m_tree->setCurrentItem(item);
    m_building = false;
}

void CDlgSelectViewData::SetElementTick(CMElement* element, bool tick, bool expand)
{
    QTreeWidgetItem* item = FindItem(element);
    if (!item)
        return;
    m_building = true;
    item->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
    if (expand && item->parent())
        item->parent()->setExpanded(true);
    m_building = false;
    UpdateRoots();
    RebuildTickedList(false);
}

void CDlgSelectViewData::Reset(const CMElementList& roots, const CMElementList& ticked)
{
    m_roots = roots;
    m_ticked = ticked;
    BuildTree();
}

void CDlgSelectViewData::OnOK()
{
    RebuildTickedList(false);
    if (m_mode == modeModeless)
        DestroyWindow();
    else
        EndDialog(IDOK);
}
