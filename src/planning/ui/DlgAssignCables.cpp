#include "planning/ui/DlgAssignCables.h"

#include "platform/base/Format.h"
#include "platform/ui/CmbEx.h"
#include "platform/ui/FlexGridEx.h"
#include "platform/ui/FlexGridModel.h"
#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

CDlgAssignCables::CDlgAssignCables(QWidget* parent) : CZuDialog(parent, kTemplateId)
{
    setObjectName(QStringLiteral("DlgAssignCables"));
    setWindowTitle(QStringLiteral("Cable Assignment"));
    m_grid = new CFlexGridEx(this);
    m_grid->setObjectName(QStringLiteral("Grid3152"));
    m_grid->SetEditFlags(CFlexGridEx::kEditable);
    m_grid->setMinimumSize(220, 200);
    connect(m_grid, &CFlexGridEx::Notify, this, [this](quint32 msg, quintptr, qintptr lParam) {
        if (msg == WM_FLEX_BEGIN_EDIT) {
            auto* combo = reinterpret_cast<CCmbEx*>(lParam);
            combo->clear();
            for (int slot : m_choices)
                combo->addItem(CableText(slot));
        } else if (msg == WM_GRID_CELL_CHANGED) {
            OnCellChanged(static_cast<int>(lParam & 0xFFFF));
        }
    });
    auto* buttons = CDialogButtons::OkCancel(this);
    for (QAbstractButton* b : buttons->buttons())
        if (auto* push = qobject_cast<QPushButton*>(b))
            push->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addWidget(buttons);
}

QString CDlgAssignCables::CableText(int slot)
{
    return QString::fromStdString(Format("Cable %d", slot + 1));
}

void CDlgAssignCables::SetOrder(const std::vector<int>& order)
{
    m_order = order;
    m_choices = order;
}

bool CDlgAssignCables::OnInitDialog()
{
    const int n = static_cast<int>(m_order.size());
    m_grid->setUpdatesEnabled(false);
    m_grid->SetRows(n + 1);
    m_grid->SetCols(2);
    m_grid->SetFixedRows(1);
    m_grid->SetFixedCols(1);
    m_grid->SetTextMatrix(0, 0, "Slot");
    m_grid->SetTextMatrix(0, 1, "Cable ID");
    m_grid->GridModel()->SetCellBackColor(0, 1, QColor(204, 255, 204));
    m_grid->SetColWidth(0, 80);
    m_grid->SetColWidth(1, 100);
    m_grid->SetRowHeight(std::max(20, m_grid->fontMetrics().height() + 6));
    for (int r = 1; r <= n; ++r) {
        m_grid->SetTextMatrix(r, 0, Format("Slot %d", r));
        m_grid->SetTextMatrix(r, 1, CableText(m_order[static_cast<size_t>(r - 1)]).toStdString());
    }
    m_grid->setUpdatesEnabled(true);
    return CZuDialog::OnInitDialog();
}

void CDlgAssignCables::OnCellChanged(int row)
{
    const int n = static_cast<int>(m_order.size());
    if (row < 1 || row > n)
        return;
    // "Cable N": the second word is the cable's number.
    const QStringList words =
        QString::fromStdString(m_grid->GetTextMatrix(row, 1)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const int slot = (words.size() > 1 ? words[1].toInt() : 0) - 1;
    const int old = m_order[static_cast<size_t>(row - 1)];
    if (slot < 0 || slot == old)
        return;
    const auto holder = std::find(m_order.begin(), m_order.end(), slot);
    if (holder == m_order.end()) {
        // Not a cable of this map: the row keeps its own.
        m_grid->SetTextMatrix(row, 1, CableText(old).toStdString());
        return;
    }
    const int k = static_cast<int>(holder - m_order.begin());
    m_order[static_cast<size_t>(row - 1)] = slot;
    m_order[static_cast<size_t>(k)] = old;
    m_grid->SetTextMatrix(k + 1, 1, CableText(old).toStdString());
}

bool CDlgAssignCables::ChooseCable(int row, int slot)
{
    EnsureInitialized();
    if (!m_grid->StartEdit(row, 1))
        return false;
    const int index = m_grid->Combo()->FindStringExact(CableText(slot));
    if (index < 0) {
        m_grid->OnComboKey(CCmbEx::kKeyEscape);
        return false;
    }
    m_grid->Combo()->setCurrentIndex(index);
    m_grid->OnComboKey(CCmbEx::kKeyReturn);
    return true;
}

void CDlgAssignCables::keyPressEvent(QKeyEvent* event)
{
    // Enter neither closes the dialog nor reaches the grid.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    CZuDialog::keyPressEvent(event);
}
