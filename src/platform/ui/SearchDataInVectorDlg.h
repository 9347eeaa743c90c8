#pragma once
// Finds a row of a per-subsystem vector: the user picks a subsystem; OK without one gives message
// 6200 and keeps the dialog open. The chosen name is the result; the table window selects the
// row of that subsystem (GetIndex of the vector).
#include "platform/ui/ZuDialog.h"

#include <string>

class CZuVecFunc;
class QComboBox;

class CSearchDataInVectorDlg : public CZuDialog
{
    Q_OBJECT
public:
    static constexpr int IDD = 4060;
    static constexpr int IDC_SUBSYSTEM = 3259;

    explicit CSearchDataInVectorDlg(CZuVecFunc* vector, QWidget* parent = nullptr);

    QComboBox* Combo() const { return m_combo; }
    const std::string& GetName() const { return m_name; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    CZuVecFunc* m_vector;
    QComboBox* m_combo;
    std::string m_name;
};
