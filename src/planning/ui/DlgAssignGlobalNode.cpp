#include "planning/ui/DlgAssignGlobalNode.h"

#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"
#include "platform/ui/DialogButtons.h"
#include "uff/UFNodeMap.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

int CellNumber(const QTableWidgetItem* item)
{
    return item ? std::atoi(item->text().toStdString().c_str()) : 0;
}

bool CellEmpty(const QTableWidgetItem* item)
{
    return !item || item->text().trimmed().isEmpty();
}
} // namespace

CDlgAssignGlobalNode::CDlgAssignGlobalNode(CUFNodeMap* map, const CZuSubsystemTable* subsystems,
                                           const std::string& ownName, const CSensorAssignment* assignment,
                                           QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_map(map), m_assignment(assignment)
{
    setObjectName(QStringLiteral("DlgAssignGlobalNode"));
    setWindowTitle(QStringLiteral("Global Node Assignment"));
    CZuSubsystemTable names;
    if (subsystems)
        names = *subsystems;
    if (!ownName.empty())
        names.AddUnique(ownName);
    names.Sort();
    m_rows = names.Names();

    m_grid = new QTableWidget(0, 1 + kPointColumns, this);
    m_grid->setObjectName(QStringLiteral("Grid%1").arg(IDC_FRAME));
    QStringList titles{QStringLiteral("Subsystem")};
    for (int lp = 1; lp <= kPointColumns; ++lp)
        titles << QString::fromStdString(Format("LP\n#%02d", lp));
    m_grid->setHorizontalHeaderLabels(titles);
    m_grid->setColumnWidth(0, 150);
    for (int c = 1; c <= kPointColumns; ++c)
        m_grid->setColumnWidth(c, 40);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->setMinimumSize(600, 240);
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling)
            OnCellEdited(item->row(), item->column());
    });

    auto* tools = new QHBoxLayout;
    auto add = [this, tools](int id, QStyle::StandardPixmap icon, uint32_t tip,
                             void (CDlgAssignGlobalNode::*handler)()) {
        auto* b = new QPushButton(this);
        b->setObjectName(QStringLiteral("Button%1").arg(id));
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(QString::fromStdString(LoadString(tip)));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        tools->addWidget(b);
    };
    add(IDC_PASTE, QStyle::SP_DialogApplyButton, IDS_TIP_PASTE, &CDlgAssignGlobalNode::OnPaste);
    add(IDC_COPY, QStyle::SP_FileDialogDetailedView, IDS_TIP_COPY, &CDlgAssignGlobalNode::OnCopy);
    add(IDC_SAVE, QStyle::SP_DialogSaveButton, IDS_TIP_SAVE, &CDlgAssignGlobalNode::OnSave);
    add(IDC_OPEN, QStyle::SP_DialogOpenButton, IDS_TIP_LOAD, &CDlgAssignGlobalNode::OnOpen);
    tools->addStretch(1);
    auto* box = CDialogButtons::OkCancel(this);
    tools->addWidget(box);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(tools);
    resize(900, 420);
}

QPushButton* CDlgAssignGlobalNode::Button(int id) const
{
    return findChild<QPushButton*>(QStringLiteral("Button%1").arg(id));
}

bool CDlgAssignGlobalNode::OnInitDialog()
{
    FillGrid();
    return CZuDialog::OnInitDialog();
}

int CDlgAssignGlobalNode::PointCount(const std::string& subsystem) const
{
    const int row = m_assignment ? m_assignment->FindRow(subsystem) : -1;
    return row >= 0 ? m_assignment->GetItemCount(row) : 0;
}

std::string CDlgAssignGlobalNode::NodeText(int row, int lp) const
{
    CUFNode node(m_rows[row], lp);
    return m_map && m_map->FindNode(node) ? Format("%u", static_cast<unsigned>(node.m_nNode)) : std::string();
}

void CDlgAssignGlobalNode::SetCell(int row, int column, const std::string& text)
{
    QTableWidgetItem* item = m_grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        m_grid->setItem(row, column, item);
    }
    item->setText(QString::fromStdString(text));
}

void CDlgAssignGlobalNode::FillGrid()
{
    CWaitCursor wait;
    m_filling = true;
    m_grid->setUpdatesEnabled(false);
    m_grid->clearContents();
    m_grid->setRowCount(static_cast<int>(m_rows.size()));
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        auto* name = new QTableWidgetItem(QString::fromStdString(m_rows[r]));
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        m_grid->setItem(r, 0, name);
        const int points = PointCount(m_rows[r]);
        for (int lp = 0; lp < points && m_map; ++lp) {
            CUFNode node(m_rows[r], lp);
            if (!m_map->FindNode(node)) {
                node = CUFNode(m_rows[r], lp);
                m_map->AddNewNode(node);
            }
            if (lp < kPointColumns)
                SetCell(r, lp + 1, Format("%d", node.m_nNode));
        }
    }
    m_grid->setUpdatesEnabled(true);
    m_filling = false;
}

void CDlgAssignGlobalNode::OnCellEdited(int row, int column)
{
    if (column < 1 || row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    const int n = CellNumber(m_grid->item(row, column));
    if (n == 0)
        return;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        for (int c = 1; c < m_grid->columnCount(); ++c) {
            if ((r == row && c == column) || CellNumber(m_grid->item(r, c)) != n)
                continue;
            AfxFormatMessageBox(IDS_DUPLICATE_NODE, MB_OK | MB_ICONERROR, n, r + 1, m_rows[r].c_str(), c);
            m_filling = true;
            SetCell(row, column, NodeText(row, column - 1));
            m_filling = false;
            return;
        }
    }
}

void CDlgAssignGlobalNode::OnOK()
{
    if (m_map) {
        // Local points past the grid's columns are not shown and keep their nodes.
        CUFNodeMap rebuilt;
        for (const auto& [number, node] : m_map->Nodes())
            if (node.m_nLP >= kPointColumns)
                rebuilt.SetAt(node);
        for (int r = 0; r < m_grid->rowCount(); ++r) {
            for (int c = 1; c < m_grid->columnCount(); ++c) {
                const QTableWidgetItem* item = m_grid->item(r, c);
                if (CellEmpty(item))
                    break;
                const int n = CellNumber(item);
                if (n > 0)
                    rebuilt.SetAt(CUFNode(n, m_rows[r], c - 1));
            }
        }
        *m_map = rebuilt;
    }
    CZuDialog::OnOK();
}

void CDlgAssignGlobalNode::OnCopy()
{
    if (!m_map || !SetClipboardText(m_map->WriteText())) {
        AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AfxMessageBox(IDS_COPIED, MB_OK | MB_ICONINFORMATION);
}

void CDlgAssignGlobalNode::OnPaste()
{
    std::string text;
    if (!m_map || !GetClipboardText(text)) {
        AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Read into a table of its own first: text that holds no node keeps the map as it is.
    CUFNodeMap pasted;
    try {
        pasted.ReadText(text);
    } catch (const CFileException&) {
        pasted.RemoveAll();
    }
    if (pasted.GetCount() == 0) {
        AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    *m_map = pasted;
    AfxMessageBox(IDS_PASTED, MB_OK | MB_ICONINFORMATION);
    FillGrid();
}

void CDlgAssignGlobalNode::OnSave()
{
    if (!m_map)
        return;
    FileChooserOptions options;
    options.defaultExt = "txt";
    options.initialName = CUFNodeMap::kTableFileName;
    options.filter = LoadString(IDS_MODEL_DATA_FILTER);
    std::string path;
    if (!PromptSaveFile(options, path))
        return;
    try {
        m_map->WriteTextFile(path, m_title);
    } catch (const std::exception&) {
        AfxMessageBox(IDS_OPERATION_FAILED, MB_OK | MB_ICONEXCLAMATION);
    }
}

void CDlgAssignGlobalNode::OnOpen()
{
    if (!m_map || AfxMessageBox(IDS_REPLACE_TABLE, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    FileChooserOptions options;
    options.defaultExt = "txt";
    options.initialName = CUFNodeMap::kTableFileName;
    options.filter = LoadString(IDS_MODEL_DATA_FILTER);
    std::string path;
    if (!PromptOpenFile(options, path))
        return;
    // A table that cannot be read leaves the map as it was.
    CUFNodeMap loaded;
    std::string title;
    try {
        loaded.ReadTextFile(path, title);
    } catch (const std::exception&) {
        AfxMessageBox(IDS_OPERATION_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    *m_map = loaded;
    FillGrid();
}
