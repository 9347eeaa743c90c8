#pragma once
// Checks that a table grid shows the table's own texts (headers included) at its first, middle
// and last rows.
#include "platform/elements/ZuTableData.h"
#include "platform/ui/ZuTableGrid.h"
#include "platform/ui/ZuTableModel.h"

#include <gtest/gtest.h>

inline void ExpectTableGrid(CZuTableGrid& grid, CZuTableData& data, int index, int decimals)
{
    CZuTableModel* model = grid.TableModel();
    ASSERT_EQ(model->rowCount(), data.GetTableRowCount(index) - 1);
    ASSERT_EQ(model->columnCount(), data.GetTableColCount(index) - 1);
    for (int c = 0; c < model->columnCount(); ++c)
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString().toStdString(),
                  data.GetTableCellData(0, c + 1, index, decimals));
    for (int r : {0, model->rowCount() / 2, model->rowCount() - 1}) {
        EXPECT_EQ(model->headerData(r, Qt::Vertical).toString().toStdString(),
                  data.GetTableCellData(r + 1, 0, index, decimals));
        for (int c = 0; c < model->columnCount(); ++c)
            EXPECT_EQ(model->index(r, c).data().toString().toStdString(),
                      data.GetTableCellData(r + 1, c + 1, index, decimals));
    }
}
