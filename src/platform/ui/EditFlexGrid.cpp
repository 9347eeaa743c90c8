#include "platform/ui/EditFlexGrid.h"

#include "platform/ui/FlexGridModel.h"

CEditFlexGrid::CEditFlexGrid(QWidget* parent) : CMSFlexGrid(parent)
{
    m_model->SetEditable(true);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
        if (from != to)
            return;
        m_editText = m_model->data(from).toString().toStdString();
        emit CellEdited(m_model->GridRow(from), m_model->GridCol(from));
    });
}
