#pragma once
// Which ticked cable goes to which slot of the new unit group: a permutation of the ticked slots,
// changed one row at a time by choosing a cable in the row's drop-down cell (the two rows involved
// exchange their cables).
#include "platform/ui/ZuDialog.h"

#include <vector>

class CFlexGridEx;

class CDlgAssignCables : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4101;

    explicit CDlgAssignCables(QWidget* parent = nullptr);

    // Slot indices (0-based) in the order of the cable positions.
    void SetOrder(const std::vector<int>& order);
    const std::vector<int>& GetOrder() const { return m_order; }

    // A cell of row r (from 1) took a new cable.
    void OnCellChanged(int row);
    // Chooses for row r (from 1) the cable of the given slot through the row's drop-down, as a user
    // would; false when the slot is not among the choices.
    bool ChooseCable(int row, int slot);

    CFlexGridEx* Grid() const { return m_grid; }

protected:
    bool OnInitDialog() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static QString CableText(int slot);

    std::vector<int> m_order;
    std::vector<int> m_choices; // the slots as handed in
    CFlexGridEx* m_grid;
};
