#include "planning/ui/DlgRegSlotGroup.h"

#include "app/TALVOProject.h"
#include "planning/QMXBlixList.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/base/Format.h"
#include "platform/ui/MSFlexGrid.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

CDlgRegSlotGroup::CDlgRegSlotGroup(CTALVOProject* project, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgRegSlotGroup"));
    setWindowTitle(QStringLiteral("Choose Unit Groups"));
    m_maxSlot = project ? GetBlixUnitCount(*project) : 0;

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Groups3163"));
    m_list->setMinimumWidth(150);
    connect(m_list, &QListWidget::currentRowChanged, this, &CDlgRegSlotGroup::OnSelectGroup);

    m_grid = new CMSFlexGrid(this);
    m_grid->setObjectName(QStringLiteral("Grid3262"));
    m_grid->SetCols(5);
    m_grid->SetRows(m_maxSlot + 1);
    m_grid->SetFixedRows(1);
    m_grid->SetFixedCols(1);
    m_grid->SetColWidth(0, 70);
    for (int c = 1; c <= 4; ++c) {
        m_grid->SetTextMatrix(0, c, Format("BLIX #%d", c));
        m_grid->SetColWidth(c, 90);
    }
    for (int r = 1; r <= m_maxSlot; ++r)
        m_grid->SetTextMatrix(r, 0, Format("Slot %d", r));
    m_grid->setMinimumSize(440, 260);

    auto* buttons = CDialogButtons::OkCancel(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Unit groups:"), this), 0, 0);
    layout->addWidget(m_list, 1, 0);
    layout->addWidget(m_grid, 0, 1, 2, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
}

bool CDlgRegSlotGroup::OnInitDialog()
{
    if (m_project) {
        const CQMXBlixListArray& groups = m_project->GetBlixLists();
        for (int i = 0; i < groups.GetSize(); ++i) {
            auto* item =
                new QListWidgetItem(QString::fromStdString(UnitGroupText(groups.GetAt(i)->GetNumber())), m_list);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    m_list->setCurrentRow(m_list->count() > 0 ? 0 : -1);
    OnSelectGroup(m_list->currentRow());
    return CZuDialog::OnInitDialog();
}

void CDlgRegSlotGroup::SetTicked(int index, bool ticked)
{
    if (QListWidgetItem* item = m_list->item(index))
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void CDlgRegSlotGroup::OnSelectGroup(int index)
{
    const CQMXBlixList* group = m_project ? m_project->GetBlixLists().GetAt(index) : nullptr;
    for (int r = 1; r <= m_maxSlot; ++r)
        for (int c = 1; c <= 4; ++c)
            m_grid->SetTextMatrix(r, c, group ? group->GetUnitName(r - 1, c - 1) : std::string());
}

void CDlgRegSlotGroup::OnOK()
{
    std::vector<int> ticked;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            ticked.push_back(i);
    if (ticked.empty()) {
        AfxMessageBox(IDS_TICK_ONE_GROUP, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Laying more groups side by side than there is room for would drop the surplus unseen.
    if (m_maxTicked > 0 && static_cast<int>(ticked.size()) > m_maxTicked) {
        AfxMessageBox(Format("At most %d unit groups can be chosen.", m_maxTicked), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_selection = ticked;
    EndDialog(IDOK);
}
