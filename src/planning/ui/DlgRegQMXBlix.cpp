#include "planning/ui/DlgRegQMXBlix.h"

#include "acquisition/QmxBlixChMgr.h"
#include "app/TALVOProject.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/base/Format.h"
#include "platform/ui/EditFlexGrid.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

CDlgRegQMXBlix::CDlgRegQMXBlix(CTALVOProject* project, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgRegQMXBlix"));
    setWindowTitle(QStringLiteral("Blix Unit Registration"));
    m_maxSlot = project ? GetBlixUnitCount(*project) : 0;
    if (project) {
        const CQMXBlixListArray& groups = project->GetBlixLists();
        for (int i = 0; i < groups.GetSize(); ++i)
            if (const CQMXBlixList* g = groups.GetAt(i))
                m_groups.push_back(std::make_unique<CQMXBlixList>(*g, g->GetNumber()));
    }

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Groups3163"));
    m_list->setMinimumWidth(150);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling)
            OnSelectGroup(row);
    });

    m_grid = new CEditFlexGrid(this);
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
    // The cell being typed into stands out.
    m_grid->setStyleSheet(QStringLiteral("QTableView::item:focus { background: #00FFFF; }"));

    auto* add = new QPushButton(QStringLiteral("Add"), this);
    add->setObjectName(QStringLiteral("Button3270"));
    connect(add, &QPushButton::clicked, this, &CDlgRegQMXBlix::OnAddGroup);
    auto* remove = new QPushButton(QStringLiteral("Delete"), this);
    remove->setObjectName(QStringLiteral("Button3031"));
    connect(remove, &QPushButton::clicked, this, &CDlgRegQMXBlix::OnDeleteGroup);
    auto* read = new QPushButton(this);
    read->setObjectName(QStringLiteral("Button2001"));
    read->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    read->setText(QStringLiteral("Hardware"));
    read->setToolTip(QString::fromStdString(LoadString(IDS_READ_FROM_HARDWARE)));
    connect(read, &QPushButton::clicked, this, &CDlgRegQMXBlix::OnReadHardware);

    auto* buttons = CDialogButtons::OkCancel(this);

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Unit groups:"), this));
    side->addWidget(m_list, 1);
    auto* groupButtons = new QHBoxLayout;
    groupButtons->addWidget(add);
    groupButtons->addWidget(remove);
    side->addLayout(groupButtons);

    auto* right = new QVBoxLayout;
    auto* tools = new QHBoxLayout;
    tools->addWidget(read);
    tools->addStretch(1);
    right->addLayout(tools);
    right->addWidget(m_grid, 1);

    auto* layout = new QGridLayout(this);
    layout->addLayout(side, 0, 0);
    layout->addLayout(right, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
}

CDlgRegQMXBlix::~CDlgRegQMXBlix() = default;

QPushButton* CDlgRegQMXBlix::Button(int id) const
{
    return findChild<QPushButton*>(QStringLiteral("Button%1").arg(id));
}

const CQMXBlixList* CDlgRegQMXBlix::GetWorkingGroup(int i) const
{
    return i >= 0 && i < GetGroupCount() ? m_groups[static_cast<size_t>(i)].get() : nullptr;
}

bool CDlgRegQMXBlix::OnInitDialog()
{
    m_selected = m_groups.empty() ? -1 : 0;
    FillList();
    ShowGroup(m_selected);
    return CZuDialog::OnInitDialog();
}

void CDlgRegQMXBlix::FillList()
{
    m_filling = true;
    m_list->clear();
    for (const auto& g : m_groups)
        m_list->addItem(QString::fromStdString(UnitGroupText(g->GetNumber())));
    m_list->setCurrentRow(m_selected);
    m_filling = false;
}

void CDlgRegQMXBlix::ClearGrid()
{
    for (int r = 1; r <= m_maxSlot; ++r)
        for (int c = 1; c <= 4; ++c)
            m_grid->SetTextMatrix(r, c, std::string());
}

void CDlgRegQMXBlix::ShowGroup(int index)
{
    const CQMXBlixList* group = GetWorkingGroup(index);
    if (!group) {
        ClearGrid();
        return;
    }
    for (int r = 1; r <= m_maxSlot; ++r)
        for (int c = 1; c <= 4; ++c)
            m_grid->SetTextMatrix(r, c, group->GetUnitName(r - 1, c - 1));
}

bool CDlgRegQMXBlix::StoreGrid()
{
    if (m_selected < 0)
        return false;
    if (m_selected >= GetGroupCount())
        return true;
    // Whatever was typed becomes a unit's registered name, or nothing when it is no serial number.
    // A name registered before reads as its own number again.
    for (int r = 1; r <= m_maxSlot; ++r)
        for (int c = 1; c <= 4; ++c) {
            const int n = UnitNumberOf(m_grid->GetTextMatrix(r, c));
            m_grid->SetTextMatrix(r, c, n < 1 ? std::string() : FormatString(IDS_UNIT_LABEL, n));
        }
    for (int r = 1; r <= m_maxSlot; ++r)
        for (int c = 1; c <= 4; ++c) {
            const std::string text = m_grid->GetTextMatrix(r, c);
            if (text.empty())
                continue;
            for (int r2 = 1; r2 <= m_maxSlot; ++r2)
                for (int c2 = 1; c2 <= 4; ++c2) {
                    if ((r2 == r && c2 == c) || m_grid->GetTextMatrix(r2, c2) != text)
                        continue;
                    AfxFormatMessageBox(IDS_APPEARS_TWICE, MB_OK | MB_ICONEXCLAMATION, text.c_str(), r, c, r2, c2);
                    return false;
                }
        }
    CQMXBlixList& group = *m_groups[static_cast<size_t>(m_selected)];
    for (int r = 1; r <= m_maxSlot; ++r)
        for (int c = 1; c <= 4; ++c)
            group.SetUnitName(r - 1, c - 1, m_grid->GetTextMatrix(r, c));
    return true;
}

void CDlgRegQMXBlix::OnSelectGroup(int index)
{
    if (index == m_selected)
        return;
    if (m_selected >= 0 && !StoreGrid()) {
        m_filling = true;
        m_list->setCurrentRow(m_selected);
        m_filling = false;
        return;
    }
    m_selected = index;
    ShowGroup(m_selected);
}

void CDlgRegQMXBlix::OnAddGroup()
{
    int maxNumber = -1;
    for (const auto& g : m_groups)
        maxNumber = std::max(maxNumber, g->GetNumber());
    const CQMXBlixList* source = GetWorkingGroup(m_selected >= 0 ? m_selected : 0);
    m_groups.push_back(source ? std::make_unique<CQMXBlixList>(*source, maxNumber + 1)
                              : std::make_unique<CQMXBlixList>(maxNumber + 1));
    m_selected = GetGroupCount() - 1;
    FillList();
    ShowGroup(m_selected);
}

void CDlgRegQMXBlix::OnDeleteGroup()
{
    // The first group stays: plans without a group of their own fall back on it.
    if (m_selected <= 0 || m_selected >= GetGroupCount())
        return;
    const CQMXBlixList& group = *m_groups[static_cast<size_t>(m_selected)];
    const std::string text = UnitGroupText(group.GetNumber());
    const CQMXSensorMapList* plans = m_project ? m_project->GetSensorMapList() : nullptr;
    if (plans && plans->IsUnitGroupUsed(group.GetNumber())) {
        AfxFormatMessageBox(IDS_GROUP_IN_USE, MB_OK | MB_ICONEXCLAMATION, text.c_str());
        return;
    }
    if (AfxFormatMessageBox(IDS_DELETE_ELEMENT, MB_OKCANCEL | MB_ICONQUESTION, text.c_str()) != IDOK)
        return;
    m_groups.erase(m_groups.begin() + m_selected);
    m_selected = 0;
    FillList();
    ShowGroup(m_selected);
}

void CDlgRegQMXBlix::OnReadHardware()
{
    CQmxBlixChMgr inventory;
    if (!GetQMXChannelInventory(m_project, inventory, this))
        return;
    ClearGrid();
    const CQmxBlixChInfoList& channels = inventory.GetBlixChInfoList();
    const CQmxBlixInfoList& units = inventory.GetBlixInfoList();
    const CQmxBoardInfoList& boards = inventory.GetBoardInfoList();
    int lastSlot = -1;
    int position = 1;
    for (int i = 0; i < channels.GetSize(); ++i) {
        const CQmxBlixChInfo& ch = channels[i];
        if (ch.GetUnitChannelIndex() != 0)
            continue;
        const std::string serial = ch.GetBlixSerial();
        int slot = 255;
        const int u = units.FindBySerial(serial);
        if (u >= 0) {
            const int b = boards.FindBySerial(units[u].GetBoardSerial());
            if (b >= 0)
                slot = boards[b].GetSlot();
        }
        if (slot != lastSlot)
            position = 1;
        lastSlot = slot;
        if (slot >= 1 && slot <= m_maxSlot && position <= 4) {
            m_grid->SetTextMatrix(slot, position, serial);
            ++position;
        }
    }
    AfxMessageBox(IDS_FINISHED, MB_OK | MB_ICONINFORMATION);
}

void CDlgRegQMXBlix::OnOK()
{
    if (!StoreGrid())
        return;
    if (m_project) {
        CQMXBlixListArray& groups = m_project->GetBlixLists();
        groups.RemoveAll();
        for (auto& g : m_groups)
            groups.Add(std::make_unique<CQMXBlixList>(*g, g->GetNumber()));
        if (CQMXSensorMapList* plans = m_project->GetSensorMapList())
            plans->SetUnitGroups(groups.Pointers());
        MarkProjectModified(*m_project);
    }
    EndDialog(IDOK);
}
