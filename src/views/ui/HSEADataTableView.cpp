#include "views/ui/HSEADataTableView.h"

#include "views/ui/HSEADataTableDoc.h"
#include "views/ui/TableChartView.h"

#include <QApplication>

CHSEADataTableView::CHSEADataTableView(CHSEADataTableDoc* doc, QWidget* parent) : CZuTableGrid(parent), m_doc(doc)
{
    m_doc->AddView(this);
    connect(this, &CZuTableGrid::CellClicked, this, [this](int row, int col) {
        m_doc->Core().ShowCellInModels(row, col);
        if (col >= 1)
            m_doc->UpdateAllViews(this, col - 1);
    });
}

CHSEADataTableView::~CHSEADataTableView()
{
    m_doc->RemoveView(this);
}

void CHSEADataTableView::OnUpdate(IZuTableDataView* sender, int hint)
{
    if (dynamic_cast<CTableChartView*>(sender)) {
        if (hint >= 0)
            SelectCell(-1, hint + 1);
        return;
    }
    Fill();
}

void CHSEADataTableView::Fill()
{
    CHSEADataTableCore& core = m_doc->Core();
    SetNumberFormat(core.GetDecimalPlaces());
    SetCellWidthTwips(core.GetCellWidth() * 100);
    SetTable(core.GetTableData(), core.GetFrequencyIndex());
    if (core.FitsColumnsToCells())
        FitColumnsToCells();
}

bool CHSEADataTableView::OnPaste()
{
    if (!CZuTableGrid::OnPaste())
        return false;
    m_doc->UpdateAllViews(nullptr, -1);
    return true;
}

bool CHSEADataTableView::OnUndo()
{
    int band = -1;
    if (!UndoLastChange(&band)) {
        QApplication::beep();
        m_doc->UpdateAllViews(nullptr, -1);
        return false;
    }
    // The band of the undone change is shown.
    if (band >= 0)
        m_doc->SetCurrentSubset(band);
    m_doc->UpdateAllViews(nullptr, -1);
    return true;
}
