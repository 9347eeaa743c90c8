#include "platform/ui/ZuTableGrid.h"

#include "platform/archive/Archive.h"
#include "platform/ui/ZuTableModel.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"

#include <QAbstractButton>
#include <QAction>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>
#include <vector>

namespace {
// Screen pixels per twip at 96 dots per inch.
constexpr double kPixelsPerTwip = 96.0 / 1440.0;

// Column headings cut short with an ellipsis when longer than their column (the style draws them
// clipped at both ends otherwise); the whole heading is the header's tip.
class CElidingHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
        const int room = std::max(0, sectionSize(logicalIndex) - 2 * margin - 4);
        option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, room);
    }
};
} // namespace

CZuTableGrid::CZuTableGrid(QWidget* parent) : QTableView(parent), m_model(new CZuTableModel(this))
{
    setHorizontalHeader(new CElidingHeader(Qt::Horizontal, this));
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // Fixed section sizes: the view never measures texts it does not show.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetCellWidthTwips(1000);

    connect(horizontalHeader(), &QHeaderView::sectionPressed, this, [this](int section) {
        m_header = {section + 1, 0};
    });
    connect(verticalHeader(), &QHeaderView::sectionPressed, this, [this](int section) { m_header = {0, section + 1}; });
    if (auto* corner = findChild<QAbstractButton*>())
        connect(corner, &QAbstractButton::clicked, this, [this] { m_header = {0, 0}; });
    connect(this, &QAbstractItemView::pressed, this, [this](const QModelIndex& index) {
        m_header = {-1, -1};
        emit CellClicked(CZuTableModel::TableRow(index), CZuTableModel::TableCol(index));
    });

    for (int id : {ID_EDIT_COPY, ID_COPY_VALUES, ID_EDIT_PASTE, ID_EDIT_UNDO})
        AddCommand(*Commands().Find(id));
}

CZuTableGrid::~CZuTableGrid() = default;

const CZuTableGrid::CommandTable& CZuTableGrid::Commands()
{
    static const CommandTable table = [] {
        CommandTable t;
        auto add = [&t](int id, const char* text, QKeySequence::StandardKey key, bool (*action)(CZuTableGrid&)) {
            CommandTable::Entry e;
            e.id = id;
            e.text = text;
            e.standardKey = key;
            e.run = [action](CZuTableGrid& grid, const CZuTableGrid&) { return action(grid); };
            t.Add(std::move(e));
        };
        add(ID_EDIT_COPY, "&Copy", QKeySequence::Copy, [](CZuTableGrid& g) { return g.OnCopy(1); });
        add(ID_COPY_VALUES, "Copy &Values", QKeySequence::UnknownKey, [](CZuTableGrid& g) { return g.OnCopy(0); });
        add(ID_EDIT_PASTE, "&Paste", QKeySequence::Paste, [](CZuTableGrid& g) { return g.OnPaste(); });
        add(ID_EDIT_UNDO, "&Undo", QKeySequence::Undo, [](CZuTableGrid& g) { return g.OnUndo(); });
        return t;
    }();
    return table;
}

void CZuTableGrid::AddCommand(const CommandTable::Entry& entry)
{
    auto* action = new QAction(tr(entry.text), this);
    if (entry.standardKey != QKeySequence::UnknownKey) {
        action->setShortcut(static_cast<QKeySequence::StandardKey>(entry.standardKey));
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    addAction(action);
    const int id = entry.id;
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_actions[id] = action;
}

QAction* CZuTableGrid::Action(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CZuTableGrid::SetTable(CZuTableData* data, int index)
{
    m_header = {-1, -1};
    m_model->SetTable(data, index);
    FitColumnsToHeadings();
}

void CZuTableGrid::FitColumnsToHeadings()
{
    // Only the headings are measured, never the cells: wide tables keep the set width.
    constexpr int kMeasured = 64;
    const int cols = m_model->columnCount();
    if (cols > kMeasured)
        return;
    // A long heading (a quantity with its reference and weighting) is cut short rather than
    // widening its column far beyond its numbers, which are aligned right and would go out of
    // sight in a narrow window.
    const int base = horizontalHeader()->defaultSectionSize();
    const int widest =
        std::max(2 * base, horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 26);
    for (int c = 0; c < cols; ++c) {
        const QString heading = m_model->headerData(c, Qt::Horizontal).toString();
        const int fit = horizontalHeader()->fontMetrics().horizontalAdvance(heading) + 28;
        setColumnWidth(c, std::clamp(fit, base, std::max(base, widest)));
    }
}

void CZuTableGrid::FitColumnsToCells()
{
    // As for the headings, a wide or long table is not read: its cells are numbers in any case.
    constexpr int kMeasuredCols = 64;
    constexpr int kMeasuredRows = 256;
    const int cols = m_model->columnCount();
    const int rows = std::min(m_model->rowCount(), kMeasuredRows);
    if (cols > kMeasuredCols)
        return;
    const QFontMetrics cells = fontMetrics();
    const QFontMetrics headings = horizontalHeader()->fontMetrics();
    const int widest = cells.horizontalAdvance(QLatin1Char('0')) * kWidestCellChars;
    for (int c = 0; c < cols; ++c) {
        int fit = headings.horizontalAdvance(m_model->headerData(c, Qt::Horizontal).toString()) + 28;
        for (int r = 0; r < rows; ++r)
            fit = std::max(fit, cells.horizontalAdvance(m_model->data(m_model->index(r, c)).toString()) + 16);
        setColumnWidth(c, std::max(columnWidth(c), std::min(fit, widest)));
    }
}

int CZuTableGrid::PreferredWidth(int columns) const
{
    // The row headings measured by their first and last label only: a long table is not read.
    int heading = 0;
    for (int r : {0, m_model->rowCount() - 1})
        if (r >= 0)
            heading = std::max(heading, verticalHeader()->fontMetrics().horizontalAdvance(
                                            m_model->headerData(r, Qt::Vertical).toString()));
    int width = heading + 24 + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < std::min(m_model->columnCount(), columns); ++c)
        width += columnWidth(c);
    return width;
}

void CZuTableGrid::SetNumberFormat(int decimals)
{
    m_model->SetNumberFormat(decimals);
}

void CZuTableGrid::SetCellWidthTwips(int widthTwips)
{
    const int pixels = std::max(20, static_cast<int>(widthTwips * kPixelsPerTwip + 0.5));
    if (pixels == horizontalHeader()->defaultSectionSize())
        return;
    horizontalHeader()->setDefaultSectionSize(pixels);
    FitColumnsToHeadings();
}

CZuTableData* CZuTableGrid::GetTable() const
{
    return m_model->GetTable();
}

int CZuTableGrid::GetIndex() const
{
    return m_model->GetIndex();
}

void CZuTableGrid::Refresh()
{
    const QModelIndex current = currentIndex();
    const int row = current.row(), col = current.column();
    m_model->Refresh();
    if (row >= 0 && col >= 0 && row < m_model->rowCount() && col < m_model->columnCount())
        setCurrentIndex(m_model->index(row, col));
}

CZuCellPoint CZuTableGrid::CurrentCell() const
{
    if (m_header.x >= 0)
        return m_header;
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return {0, 0};
    return {CZuTableModel::TableCol(current), CZuTableModel::TableRow(current)};
}

void CZuTableGrid::SelectCell(int row, int col)
{
    const CZuCellPoint now = CurrentCell();
    if (row < 0)
        row = now.y;
    if (col < 0)
        col = now.x;
    const int rows = m_model->rowCount(), cols = m_model->columnCount();
    if (rows == 0 || cols == 0)
        return;
    row = std::min(row, rows);
    col = std::min(col, cols);
    if (row == 0 && col == 0) {
        selectAll();
        m_header = {0, 0};
        return;
    }
    if (row == 0) {
        selectColumn(col - 1);
        m_header = {col, 0};
        return;
    }
    if (col == 0) {
        selectRow(row - 1);
        m_header = {0, row};
        return;
    }
    m_header = {-1, -1};
    const QModelIndex index = m_model->IndexOf(row, col);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

CZuCellRect CZuTableGrid::SelectionRect() const
{
    const CZuCellPoint current = CurrentCell();
    CZuCellRect rect{current.x, current.y, current.x, current.y};
    const QItemSelection selection = selectionModel() ? selectionModel()->selection() : QItemSelection();
    if (!selection.isEmpty()) {
        int top = m_model->rowCount(), left = m_model->columnCount(), bottom = -1, right = -1;
        for (const QItemSelectionRange& range : selection) {
            top = std::min(top, range.top());
            left = std::min(left, range.left());
            bottom = std::max(bottom, range.bottom());
            right = std::max(right, range.right());
        }
        if (bottom >= 0 && right >= 0) {
            // The far corner of the selection as seen from the current cell.
            const int curRow = std::max(current.y, 1) - 1, curCol = std::max(current.x, 1) - 1;
            rect.left = current.x;
            rect.top = current.y;
            rect.right = (curCol <= left ? right : left) + 1;
            rect.bottom = (curRow <= top ? bottom : top) + 1;
            if (current.x < 1 || current.y < 1) {
                rect = {left + 1, top + 1, right + 1, bottom + 1};
            }
        }
    }
    return rect;
}

bool CZuTableGrid::CopySelection(int withLabels, int index)
{
    CZuTableData* data = GetTable();
    if (!data)
        return false;
    CZuCellRect rect = SelectionRect();
    rect.Normalize();
    std::vector<uint8_t> buffer;
    {
        CArchive ar(&buffer, CArchive::store);
        CWaitCursor wait;
        data->CopyToClipboard(ar, withLabels, index, &rect);
    }
    if (!SetClipboardText(std::string(buffer.begin(), buffer.end()))) {
        AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CZuTableGrid::PasteAtCurrentCell(int index)
{
    CZuTableData* data = GetTable();
    if (!data)
        return false;
    const CZuCellPoint point = CurrentCell();
    if (point.x < 1 || point.y < 1) {
        AfxMessageBox(IDS_PASTE_ON_HEADER, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    std::string text;
    if (!GetClipboardText(text) || text.empty()) {
        AfxMessageBox(IDS_CLIPBOARD_NO_TEXT, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    std::vector<uint8_t> buffer(text.begin(), text.end());
    try {
        CArchive ar(&buffer, CArchive::load);
        CWaitCursor wait;
        m_undoMarks.push_back(data->GetUndoBufferSize());
        data->PasteFromClipboard(ar, index, &point);
    } catch (const CArchiveException&) {
        // A text that ends mid-way leaves what was read before it in place.
    }
    Refresh();
    emit Changed(index);
    return true;
}

bool CZuTableGrid::UndoLastChange(int* index)
{
    CZuTableData* data = GetTable();
    if (!data || data->GetUndoBufferSize() == 0)
        return false;
    // One command is one step back: a paste is undone as a whole, down to the mark it left.
    int mark = data->GetUndoBufferSize() - 1;
    if (!m_undoMarks.empty()) {
        mark = std::min(mark, m_undoMarks.back());
        m_undoMarks.pop_back();
    }
    int last = -1;
    while (data->GetUndoBufferSize() > std::max(mark, 0))
        last = data->UndoData();
    Refresh();
    emit Changed(last);
    if (index)
        *index = last;
    return true;
}

void CZuTableGrid::FitSelectedColumns()
{
    CZuTableData* data = GetTable();
    if (!data)
        return;
    CZuCellRect rect = SelectionRect();
    rect.Normalize();
    const int rows = m_model->rowCount() + 1;
    CWaitCursor wait;
    for (int col = std::max(rect.left, 1); col <= rect.right && col <= m_model->columnCount(); ++col) {
        size_t longest = 0;
        for (int row = 0; row < rows; ++row)
            longest =
                std::max(longest, data->GetTableCellData(row, col, GetIndex(), m_model->GetNumberFormat()).size());
        setColumnWidth(col - 1, std::max(20, static_cast<int>(100.0 * longest * kPixelsPerTwip * 1.5 + 0.5)));
    }
}

int CZuTableGrid::CopySubset() const
{
    return GetIndex();
}

int CZuTableGrid::PasteSubset() const
{
    return GetIndex();
}

bool CZuTableGrid::OnCopy(int withLabels)
{
    return CopySelection(withLabels, CopySubset());
}

bool CZuTableGrid::OnPaste()
{
    return PasteAtCurrentCell(PasteSubset());
}

bool CZuTableGrid::OnUndo()
{
    return UndoLastChange();
}

bool CZuTableGrid::OnCommand(int id)
{
    return Commands().Run(id, *this, *this);
}

void CZuTableGrid::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        OnCopy(1);
        return;
    }
    if (event == QKeySequence::Paste) {
        OnPaste();
        return;
    }
    if (event == QKeySequence::Undo) {
        OnUndo();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CZuTableGrid::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    for (int id : {ID_EDIT_COPY, ID_COPY_VALUES, ID_EDIT_PASTE, ID_EDIT_UNDO})
        menu.addAction(Action(id));
    if (CZuTableData* data = GetTable()) {
        Action(ID_EDIT_PASTE)->setEnabled(data->CanChangeValues() != 0);
        Action(ID_EDIT_UNDO)->setEnabled(data->GetUndoBufferSize() > 0);
    }
    menu.exec(event->globalPos());
}

void CZuTableGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    FitSelectedColumns();
}
