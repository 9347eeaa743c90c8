#include "views/ui/DlgSelectSPLsSrc.h"

#include "platform/win/MessageTarget.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

namespace {
Qt::CheckState ToCheck(int state)
{
    return state == CDlgSelectSPLsSrc::kShown    ? Qt::Checked
           : state == CDlgSelectSPLsSrc::kMarked ? Qt::PartiallyChecked
                                                 : Qt::Unchecked;
}
} // namespace

CDlgSelectSPLsSrc* CDlgSelectSPLsSrc::CreateInstance(IMessageTarget* owner, QWidget* parent)
{
    CDlgSelectSPLsSrc* dialog =
        Instances().RegisterNew(ProgramKey(), [&] { return new CDlgSelectSPLsSrc(owner, parent); });
    if (dialog)
        dialog->Create();
    return dialog;
}

CDlgSelectSPLsSrc::CDlgSelectSPLsSrc(IMessageTarget* owner, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_owner(owner)
{
    setObjectName(QStringLiteral("DlgSelectSPLsSrc"));
    setWindowTitle(tr("SPL Sources"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("c3159"));
    m_list->setMinimumSize(220, 240);
    m_showAll = new QPushButton(tr("Show All"), this);
    m_showAll->setObjectName(QStringLiteral("c3049"));
    m_showAll->setCheckable(true);
    m_mark = new QPushButton(tr("Mark"), this);
    m_mark->setObjectName(QStringLiteral("c3050"));
    m_mark->setCheckable(true);
    m_clear = new QPushButton(tr("Clear Selection"), this);
    m_clear->setObjectName(QStringLiteral("c2001"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0, 4, 1);
    layout->addWidget(m_showAll, 0, 1);
    layout->addWidget(m_mark, 1, 1);
    layout->addWidget(m_clear, 2, 1);
    layout->setRowStretch(3, 1);

    connect(m_showAll, &QPushButton::clicked, this, [this](bool on) { OnShowAll(on); });
    connect(m_mark, &QPushButton::clicked, this, [this](bool on) { OnMark(on); });
    connect(m_clear, &QPushButton::clicked, this, [this] { OnClearSelection(); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        if (!m_filling)
            OnSelectionChanged();
    });
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (m_filling)
            return;
        // The list toggled the tick; the page decides the new state itself.
        const int i = item->data(Qt::UserRole).toInt();
        if (i >= 0 && i < int(m_states.size()) && ToCheck(m_states[size_t(i)]) != item->checkState())
            ClickTick(i);
    });
}

CDlgSelectSPLsSrc::~CDlgSelectSPLsSrc() = default;

void CDlgSelectSPLsSrc::Notify(uint32_t msg, uintptr_t w, intptr_t l)
{
    if (m_owner)
        m_owner->SendMessage(msg, w, l);
}

void CDlgSelectSPLsSrc::SetSubsystemTable(const CZuSubsystemTable* table)
{
    m_filling = true;
    m_table = table ? *table : CZuSubsystemTable();
    m_states.assign(size_t(m_table.GetCount()), kShown);
    m_list->clear();
    for (int i = 0; i < m_table.GetCount(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(m_table[i]), m_list);
        item->setData(Qt::UserRole, i);
        item->setFlags((item->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsUserTristate);
        item->setCheckState(Qt::Checked);
    }
    m_showAll->setChecked(true);
    m_mark->setChecked(false);
    m_filling = false;
}

int CDlgSelectSPLsSrc::GetSubsystemCount() const
{
    return m_table.GetCount();
}

int CDlgSelectSPLsSrc::GetCheck(int i) const
{
    return i >= 0 && i < int(m_states.size()) ? m_states[size_t(i)] : 0;
}

void CDlgSelectSPLsSrc::SetCurSel(int i)
{
    m_list->setCurrentRow(i);
}

void CDlgSelectSPLsSrc::SetState(int i, int state)
{
    m_states[size_t(i)] = state;
    m_filling = true;
    m_list->item(i)->setCheckState(ToCheck(state));
    m_filling = false;
}

void CDlgSelectSPLsSrc::ClickTick(int i)
{
    if (i < 0 || i >= int(m_states.size()))
        return;
    // The list cycles hidden, shown, marked; a click that would mark hides instead.
    const int next = m_states[size_t(i)] == kHidden ? kShown : kHidden;
    SetState(i, next);
    Notify(WM_ZU_SPL_SRC_TICK, uintptr_t(i), next);
}

void CDlgSelectSPLsSrc::OnShowAll(bool show)
{
    m_showAll->setChecked(show);
    for (int i = 0; i < int(m_states.size()); ++i)
        if (m_states[size_t(i)] != kMarked)
            SetState(i, show ? kShown : kHidden);
    Notify(WM_ZU_SPL_SRC_TICK, 0, 0);
}

void CDlgSelectSPLsSrc::OnMark(bool mark)
{
    m_mark->setChecked(mark);
    const int i = m_list->currentRow();
    if (i < 0 || i >= int(m_states.size()))
        return;
    SetState(i, mark ? kMarked : kShown);
    Notify(WM_ZU_SPL_SRC_TICK, uintptr_t(i), mark ? kMarked : kShown);
}

void CDlgSelectSPLsSrc::OnSelectionChanged()
{
    const int i = m_list->currentRow();
    if (i < 0 || i >= int(m_states.size()))
        return;
    m_mark->setChecked(m_states[size_t(i)] == kMarked);
    Notify(WM_ZU_SPL_SRC_SELECT, uintptr_t(i), 0);
}

void CDlgSelectSPLsSrc::OnClearSelection()
{
    m_filling = true;
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
    m_filling = false;
    Notify(WM_ZU_SPL_SRC_CLEAR, 0, 0);
}

void CDlgSelectSPLsSrc::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

void CDlgSelectSPLsSrc::OnCancel()
{
    hide(); // Esc and the close box only hide the list
}
