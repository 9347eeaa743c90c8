#include "calculation/ui/DlgSelectCalcSubsystem.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/elements/ZuSubsystemTable.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/win/MessageTarget.h"
#include "platform/ui/DialogButtons.h"

CDlgSelectCalcSubsystem* CDlgSelectCalcSubsystem::CreateInstance(QWidget* parent, IMessageTarget* target)
{
    // The caller fills the new dialog before showing it.
    return Instances().RegisterNew(ProgramKey(), [&] { return new CDlgSelectCalcSubsystem(parent, target); });
}

void CDlgSelectCalcSubsystem::DestroyInstance()
{
    // Gone at once, not on the next loop turn.
    delete Instances().Release(ProgramKey());
}

CDlgSelectCalcSubsystem::CDlgSelectCalcSubsystem(QWidget* parent, IMessageTarget* target)
    : CZuDialog(parent, IDD), m_target(target)
{
    setWindowTitle(tr("Subsystems to Calculate"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Subsystems:"), this));
    m_list = new QListWidget(this);
    m_list->setObjectName("subsystems");
    m_list->setMinimumSize(260, 240);
    layout->addWidget(m_list, 1);
    m_all = new QCheckBox(tr("Select all"), this);
    m_all->setObjectName("all");
    layout->addWidget(m_all);
    auto* buttons = CDialogButtons::OkCancel(this);
    layout->addWidget(buttons);
    connect(m_all, &QCheckBox::clicked, this, [this] { OnSelectAll(); });
    connect(m_list, &QListWidget::itemChanged, this, [this] { UpdateModelSelection(); });
}

CDlgSelectCalcSubsystem::~CDlgSelectCalcSubsystem() = default;

void CDlgSelectCalcSubsystem::AddSubsystem(const std::string& name, int checked)
{
    m_entries.push_back({name, checked});
}

bool CDlgSelectCalcSubsystem::OnInitDialog()
{
    m_allFlag = 1;
    m_all->setChecked(true);
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const Entry& entry : m_entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.name), m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
    }
    UpdateModelSelection();
    return true;
}

void CDlgSelectCalcSubsystem::OnSelectAll()
{
    m_allFlag = m_all->isChecked() ? 1 : 0;
    {
        const QSignalBlocker block(m_list);
        for (int i = 0; i < m_list->count(); ++i)
            m_list->item(i)->setCheckState(m_allFlag ? Qt::Checked : Qt::Unchecked);
    }
    UpdateModelSelection();
}

std::vector<std::string> CDlgSelectCalcSubsystem::Ticked() const
{
    std::vector<std::string> names;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            names.push_back(m_list->item(i)->text().toStdString());
    return names;
}

void CDlgSelectCalcSubsystem::UpdateModelSelection() const
{
    CZuSubsystemTable table;
    for (const std::string& name : Ticked())
        table.Add(name);
    C3DModelDoc::SelectInOpenDocuments(table);
}

void CDlgSelectCalcSubsystem::OnOK()
{
    m_changed = 0;
    for (size_t i = 0; i < m_entries.size() && static_cast<int>(i) < m_list->count(); ++i) {
        const int checked = m_list->item(static_cast<int>(i))->checkState() == Qt::Checked ? 1 : 0;
        if (checked != m_entries[i].checked)
            m_changed = 1;
        m_entries[i].checked = checked;
    }
    hide();
    CZuSubsystemTable table;
    for (const Entry& entry : m_entries)
        if (entry.checked == 1)
            table.Add(entry.name);
    if (m_answer)
        m_answer(table);
    // Sent, not posted: the receiver reads the table before this call returns, while it lives.
    else if (IMessageTarget* target = m_target ? m_target : GetMainWindowTarget())
        target->SendMessage(m_notifyMessage, reinterpret_cast<uintptr_t>(&table), m_notifyParam);
    EndDialog(IDOK);
}
