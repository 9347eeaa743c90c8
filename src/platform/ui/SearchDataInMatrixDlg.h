#pragma once
// Finds a cell of a subsystem-by-subsystem matrix: the user picks the row subsystem and the column
// subsystem; OK without both gives message 6200 and keeps the dialog open. The chosen names are
// the result; the table window selects the cell (GetRowIndex, GetColIndex of the matrix).
#include "platform/ui/ZuDialog.h"

#include <string>

class CZuMatFunc;
class QComboBox;

class CSearchDataInMatrixDlg : public CZuDialog
{
    Q_OBJECT
public:
    static constexpr int IDD = 4059;
    static constexpr int IDC_ROW = 3260;
    static constexpr int IDC_COL = 3261;

    explicit CSearchDataInMatrixDlg(CZuMatFunc* matrix, QWidget* parent = nullptr);

    QComboBox* RowCombo() const { return m_row; }
    QComboBox* ColCombo() const { return m_col; }
    const std::string& GetRowName() const { return m_rowName; }
    const std::string& GetColName() const { return m_colName; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    CZuMatFunc* m_matrix;
    QComboBox* m_row;
    QComboBox* m_col;
    std::string m_rowName;
    std::string m_colName;
};
