#include "planning/ui/DlgDAQPPChListOptions.h"

#include "app/TALVOProject.h"
#include "planning/DAQPPChannelTable.h"
#include "planning/DAQPPExpPlanList.h"
#include "planning/ui/DlgExpPlanMap.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/base/LineReader.h"
#include "platform/base/TabSplitter.h"
#include "platform/ui/EditFlexGrid.h"
#include "platform/ui/FlexGridModel.h"
#include "platform/win/Clipboard.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "uff/ExtUFDaqProject.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QColor kTypeColor(204, 255, 204);

QStringList TypeNames()
{
    QStringList names;
    for (int type = 0; type < CDAQPPExpPlanList::kColumnTypeCount; ++type)
        names << QString::fromStdString(CDAQPPExpPlanList::GetColumnTypeName(type));
    return names;
}

// The type cells are chosen from the thirteen type names.
class CTypeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* combo = new QComboBox(parent);
        combo->addItems(TypeNames());
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* combo = static_cast<QComboBox*>(editor);
        combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }
};
} // namespace

CDlgDAQPPChListOptions::CDlgDAQPPChListOptions(CExtUFDaqProject* project, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgDAQPPChListOptions"));
    setWindowTitle(QStringLiteral("Channel Table Columns"));

    m_reverse = new QCheckBox(QStringLiteral("Show sensitivities reversed"), this);
    m_reverse->setObjectName(QStringLiteral("Check3049"));

    m_grid = new CEditFlexGrid(this);
    m_grid->setObjectName(QStringLiteral("Grid3279"));
    m_grid->SetRows(kRowCount + 1);
    m_grid->SetCols(3);
    m_grid->SetFixedRows(1);
    m_grid->SetFixedCols(1);
    m_grid->SetRowHeight(std::max(15, m_grid->fontMetrics().height() + 4));
    m_grid->SetColWidth(0, 30);
    m_grid->SetColWidth(1, 150);
    m_grid->SetColWidth(2, 120);
    m_grid->setItemDelegateForColumn(1, new CTypeDelegate(m_grid));
    CFlexGridModel* model = m_grid->GridModel();
    model->SetText(0, 1, QStringLiteral("Label"));
    model->SetText(0, 2, QStringLiteral("Type"));
    for (int r = 1; r <= kRowCount; ++r) {
        model->SetText(r, 0, QString::number(r));
        model->SetCellBackColor(r, 2, kTypeColor);
    }
    m_grid->setMinimumSize(340, 300);
    connect(m_grid, &CEditFlexGrid::CellEdited, this, [this](int, int) { Record(); });

    auto* tools = new QHBoxLayout;
    tools->addWidget(AddTool(57643, QStringLiteral("Undo"), QStyle::SP_ArrowBack, IDS_TIP_UNDO));
    tools->addWidget(AddTool(57644, QStringLiteral("Redo"), QStyle::SP_ArrowForward, IDS_TIP_REDO));
    tools->addWidget(AddTool(57635, QStringLiteral("Cut"), QStyle::SP_TrashIcon, IDS_TIP_CUT));
    tools->addWidget(AddTool(57634, QStringLiteral("Copy"), QStyle::SP_FileIcon, IDS_TIP_COPY));
    tools->addWidget(AddTool(57637, QStringLiteral("Paste"), QStyle::SP_DialogOpenButton, IDS_TIP_PASTE));
    tools->addStretch(1);

    auto makeButton = [this](int id, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QStringLiteral("Button%1").arg(id));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* ok = makeButton(1, QStringLiteral("OK"));
    ok->setDefault(true);
    QPushButton* cancel = makeButton(2, QStringLiteral("Cancel"));
    QPushButton* store = makeButton(3276, QStringLiteral("Save as Default"));
    QPushButton* load = makeButton(3277, QStringLiteral("Load Default"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(store, &QPushButton::clicked, this, &CDlgDAQPPChListOptions::OnStoreDefaults);
    connect(load, &QPushButton::clicked, this, &CDlgDAQPPChListOptions::OnLoadDefaults);

    auto* side = new QVBoxLayout;
    side->addWidget(ok);
    side->addWidget(cancel);
    side->addSpacing(16);
    side->addWidget(store);
    side->addWidget(load);
    side->addStretch(1);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(tools);
    left->addWidget(m_grid, 1);
    left->addWidget(m_reverse);
    body->addLayout(left, 1);
    body->addLayout(side);
    setLayout(body);
    resize(500, 560);
}

QPushButton* CDlgDAQPPChListOptions::AddTool(int id, const QString& text, int icon, uint32_t tipId)
{
    auto* button = CDlgExpPlanMap::CreateToolButton(this, id, text, icon, tipId);
    switch (id) {
    case 57643:
        connect(button, &QPushButton::clicked, this, &CDlgDAQPPChListOptions::OnUndo);
        break;
    case 57644:
        connect(button, &QPushButton::clicked, this, &CDlgDAQPPChListOptions::OnRedo);
        break;
    case 57635:
        connect(button, &QPushButton::clicked, this, &CDlgDAQPPChListOptions::OnCut);
        break;
    case 57634:
        connect(button, &QPushButton::clicked, this, &CDlgDAQPPChListOptions::OnCopy);
        break;
    default:
        connect(button, &QPushButton::clicked, this, &CDlgDAQPPChListOptions::OnPaste);
        break;
    }
    return button;
}

QPushButton* CDlgDAQPPChListOptions::Button(int id) const
{
    return findChild<QPushButton*>(QStringLiteral("Button%1").arg(id));
}

bool CDlgDAQPPChListOptions::OnInitDialog()
{
    m_reverse->setChecked(m_project && m_project->GetRevSensMode() != 0);
    if (m_project)
        ShowLayout(m_project->GetExpPlans().GetColumns());
    return CZuDialog::OnInitDialog();
}

void CDlgDAQPPChListOptions::ShowLayout(const std::vector<tagCHTABLECOL>& columns)
{
    QStringList cells;
    for (int r = 0; r < kRowCount; ++r) {
        const bool has = r < static_cast<int>(columns.size());
        cells << (has ? QString::fromStdString(columns[static_cast<size_t>(r)].label) : QString());
        cells << (has ? QString::fromStdString(
                            CDAQPPExpPlanList::GetColumnTypeName(columns[static_cast<size_t>(r)].type))
                      : QString());
    }
    Restore(cells);
    Record();
}

QStringList CDlgDAQPPChListOptions::Snapshot() const
{
    QStringList cells;
    for (int r = 1; r <= kRowCount; ++r)
        for (int c = 1; c <= 2; ++c)
            cells << m_grid->GridModel()->Text(r, c);
    return cells;
}

void CDlgDAQPPChListOptions::Restore(const QStringList& cells)
{
    m_restoring = true;
    for (int r = 1; r <= kRowCount; ++r)
        for (int c = 1; c <= 2; ++c)
            m_grid->GridModel()->SetText(r, c, cells.value((r - 1) * 2 + (c - 1)));
    m_restoring = false;
}

void CDlgDAQPPChListOptions::Record()
{
    if (m_restoring)
        return;
    const QStringList now = Snapshot();
    if (m_current >= 0 && m_history[static_cast<size_t>(m_current)] == now)
        return;
    m_history.resize(static_cast<size_t>(m_current + 1));
    m_history.push_back(now);
    m_current = static_cast<int>(m_history.size()) - 1;
}

void CDlgDAQPPChListOptions::SetCell(int row, int col, const std::string& text)
{
    m_restoring = true;
    m_grid->GridModel()->SetText(row, col, QString::fromStdString(text));
    m_restoring = false;
    Record();
}

std::string CDlgDAQPPChListOptions::GetCell(int row, int col) const
{
    return m_grid->GridModel()->Text(row, col).toStdString();
}

void CDlgDAQPPChListOptions::OnUndo()
{
    if (!CanUndo())
        return;
    --m_current;
    Restore(m_history[static_cast<size_t>(m_current)]);
}

void CDlgDAQPPChListOptions::OnRedo()
{
    if (!CanRedo())
        return;
    ++m_current;
    Restore(m_history[static_cast<size_t>(m_current)]);
}

void CDlgDAQPPChListOptions::OnCopy()
{
    const std::vector<int> rows = m_grid->SelectedRows();
    const std::vector<int> cols = m_grid->SelectedCols();
    if (rows.empty() || cols.empty())
        return;
    std::string text;
    for (int r = rows.front(); r <= rows.back(); ++r) {
        for (int c = cols.front(); c <= cols.back(); ++c) {
            if (c != cols.front())
                text += '\t';
            text += GetCell(r, c);
        }
        text += '\n';
    }
    SetClipboardText(text);
}

void CDlgDAQPPChListOptions::OnCut()
{
    const std::vector<int> rows = m_grid->SelectedRows();
    const std::vector<int> cols = m_grid->SelectedCols();
    if (rows.empty() || cols.empty())
        return;
    OnCopy();
    m_restoring = true;
    for (int r = rows.front(); r <= rows.back(); ++r)
        for (int c = cols.front(); c <= cols.back(); ++c)
            m_grid->GridModel()->SetText(r, c, QString());
    m_restoring = false;
    Record();
}

void CDlgDAQPPChListOptions::OnPaste()
{
    std::string text;
    const int top = m_grid->GetRow();
    const int left = m_grid->GetCol();
    if (!GetClipboardText(text) || text.empty() || top < 1 || left < 1)
        return;
    m_restoring = true;
    int r = top;
    CLineReader lines(text);
    for (std::string_view line; r <= kRowCount && lines.Next(line); ++r) {
        const std::vector<std::string> fields = CTabSplitter().Split(line);
        for (size_t k = 0; k < fields.size() && left + static_cast<int>(k) <= 2; ++k)
            m_grid->GridModel()->SetText(r, left + static_cast<int>(k), QString::fromStdString(fields[k]));
    }
    m_restoring = false;
    Record();
}

std::vector<tagCHTABLECOL> CDlgDAQPPChListOptions::ReadLayout() const
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (int r = 1; r <= kRowCount; ++r)
        rows.emplace_back(GetCell(r, 1), GetCell(r, 2));
    return CDAQPPChannelTable::ColumnsFromTexts(rows);
}

void CDlgDAQPPChListOptions::Apply(bool storeDefaults)
{
    if (!m_project)
        return;
    m_project->SetRevSensMode(m_reverse->isChecked() ? 1 : 0, storeDefaults ? 1 : 0);
    CDAQPPExpPlanList& list = m_project->GetExpPlans();
    list.GetColumns() = ReadLayout();
    if (storeDefaults)
        list.SaveColumns();
    if (CTALVOProject* container = m_project->GetOwner())
        MarkProjectModified(*container);
}

void CDlgDAQPPChListOptions::OnStoreDefaults()
{
    Apply(true);
}

void CDlgDAQPPChListOptions::OnLoadDefaults()
{
    // Shown only: the project takes the layout on OK or 3276, so Cancel leaves it as it was.
    ShowLayout(CDAQPPExpPlanList::GetStoredColumns());
}

void CDlgDAQPPChListOptions::OnOK()
{
    Apply(false);
    CZuDialog::OnOK();
}
