#include "planning/ui/DlgDAQPPSSList.h"

#include "common/SubsystemManager.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

CDlgDAQPPSSList::CDlgDAQPPSSList(QWidget* parent) : CZuDialog(parent, kTemplateId)
{
    setObjectName(QStringLiteral("DlgDAQPPSSList"));
    setWindowTitle(QStringLiteral("Subsystem Short Names"));
    m_grid = new QTableWidget(0, 2, this);
    m_grid->setObjectName(QStringLiteral("Grid%1").arg(IDC_GRID));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Subsystem"), QStringLiteral("Short Name")});
    m_grid->setColumnWidth(0, 150);
    m_grid->setColumnWidth(1, 200);
    m_grid->horizontalHeader()->setMinimumHeight(40);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(380, 240);
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling)
            OnCellEdited(item->row(), item->column());
    });
    auto* box = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addWidget(box);
    resize(440, 420);
}

void CDlgDAQPPSSList::SetSubsystems(const CZuSubsystemTable* table, CSubsystemManager* manager)
{
    m_table = table;
    m_manager = manager;
}

bool CDlgDAQPPSSList::OnInitDialog()
{
    const int count = m_table ? m_table->GetCount() : 0;
    m_grid->setRowCount(count);
    for (int r = 0; r < count; ++r)
        FillRow(r);
    return CZuDialog::OnInitDialog();
}

void CDlgDAQPPSSList::FillRow(int row)
{
    m_filling = true;
    auto* name = new QTableWidgetItem(QString::fromStdString(m_table->At(row)));
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    name->setBackground(QColor(204, 255, 204));
    m_grid->setItem(row, 0, name);
    const std::string shortName = m_manager ? m_manager->GetShortName(m_table->At(row)) : std::string();
    m_grid->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(shortName)));
    m_filling = false;
}

void CDlgDAQPPSSList::OnCellEdited(int row, int column)
{
    if (column != 1 || !m_table || !m_manager || row < 0 || row >= m_table->GetCount())
        return;
    const QTableWidgetItem* item = m_grid->item(row, 1);
    const std::string text = item ? item->text().trimmed().toStdString() : std::string();
    const std::string& name = m_table->At(row);
    if (text.empty()) {
        FillRow(row);
        return;
    }
    if (text == m_manager->GetShortName(name))
        return;
    m_manager->SetShortNameAt(m_table->GetIndex(name), text);
    FillRow(row);
}
