#pragma once
// Which universal-file node number stands for each local point of each subsystem: one row per
// subsystem, one column per local point. Opening gives every local point a node; OK writes the
// grid back into the node map. The map also goes to and comes from the clipboard and the node
// table file.
#include "platform/ui/ZuDialog.h"

#include <string>
#include <vector>

class CSensorAssignment;
class CUFNodeMap;
class CZuSubsystemTable;
class QPushButton;
class QTableWidget;

class CDlgAssignGlobalNode : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4206;
    static constexpr int kPointColumns = 60;
    enum
    {
        IDC_PASTE = 57637,
        IDC_COPY = 57634,
        IDC_SAVE = 57603,
        IDC_OPEN = 57601,
        IDC_FRAME = 2071,
    };

    // map: edited in place (not owned). Rows: the subsystems of the table and ownName, sorted;
    // their local points: the entries of their rows in the assignment (none when absent).
    CDlgAssignGlobalNode(CUFNodeMap* map, const CZuSubsystemTable* subsystems, const std::string& ownName,
                         const CSensorAssignment* assignment, QWidget* parent = nullptr);

    // The title written into a saved node table.
    void SetTableTitle(const std::string& title) { m_title = title; }

    void FillGrid();
    // A cell's edit ended: a number another cell holds is refused (message) and the cell restored.
    void OnCellEdited(int row, int column);
    void OnPaste();
    void OnCopy();
    void OnSave();
    void OnOpen();

    QTableWidget* Grid() const { return m_grid; }
    QPushButton* Button(int id) const;
    const std::vector<std::string>& RowNames() const { return m_rows; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    int PointCount(const std::string& subsystem) const;
    // The map's node of (row's subsystem, local point) as text; empty when it holds none.
    std::string NodeText(int row, int lp) const;
    void SetCell(int row, int column, const std::string& text);

    CUFNodeMap* m_map;
    const CSensorAssignment* m_assignment;
    std::vector<std::string> m_rows;
    std::string m_title = "Global Node Table";
    QTableWidget* m_grid;
    bool m_filling = false;
};
