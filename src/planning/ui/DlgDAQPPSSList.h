#pragma once
// The model's subsystems with their short names, the names that universal files may use for
// them. A short name is edited in place; an empty text gives the stored one back.
#include "platform/ui/ZuDialog.h"

class CSubsystemManager;
class CZuSubsystemTable;
class QTableWidget;
class QTableWidgetItem;

class CDlgDAQPPSSList : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4213;
    static constexpr int IDC_GRID = 3279;

    explicit CDlgDAQPPSSList(QWidget* parent = nullptr);

    // The opener's subsystems and their short names (neither owned).
    void SetSubsystems(const CZuSubsystemTable* table, CSubsystemManager* manager);

    QTableWidget* Grid() const { return m_grid; }
    // A cell edit ended: column 1 (the short name) takes the text as described above.
    void OnCellEdited(int row, int column);

protected:
    bool OnInitDialog() override;

private:
    void FillRow(int row);

    const CZuSubsystemTable* m_table = nullptr;
    CSubsystemManager* m_manager = nullptr;
    QTableWidget* m_grid;
    bool m_filling = false;
};
