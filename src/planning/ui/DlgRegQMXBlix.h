#pragma once
// Registration of the Blix units of each unit group: which unit (by serial number) sits in which
// slot position. The dialog edits copies of the project's groups; OK stores the grid, hands the
// copies to the project and lets the plans follow them; Cancel leaves the project as it was.
#include "platform/ui/ZuDialog.h"

#include <memory>
#include <string>
#include <vector>

class CEditFlexGrid;
class CQMXBlixList;
class CTALVOProject;
class QListWidget;
class QPushButton;

class CDlgRegQMXBlix : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4091;

    explicit CDlgRegQMXBlix(CTALVOProject* project, QWidget* parent = nullptr);
    ~CDlgRegQMXBlix() override;

    // The group chosen (index into the project's list after OK), -1 when none.
    int GetSelectedIndex() const { return m_selected; }
    int GetMaxSlotCount() const { return m_maxSlot; }
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    const CQMXBlixList* GetWorkingGroup(int i) const;

    // Commands (3163 selection change, 3270 add, 3031 delete, 2001 read the hardware).
    void OnSelectGroup(int index);
    void OnAddGroup();
    void OnDeleteGroup();
    void OnReadHardware();
    // Normalises and checks the grid and copies it into the selected group; false (IDS_APPEARS_TWICE
    // on a duplicate) when it cannot be stored.
    bool StoreGrid();

    CEditFlexGrid* Grid() const { return m_grid; }
    QListWidget* GroupList() const { return m_list; }
    QPushButton* Button(int id) const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void FillList();
    void ShowGroup(int index);
    void ClearGrid();

    CTALVOProject* m_project;
    int m_maxSlot = 0;
    int m_selected = -1;
    std::vector<std::unique_ptr<CQMXBlixList>> m_groups; // working copies, in list order
    QListWidget* m_list;
    CEditFlexGrid* m_grid;
    bool m_filling = false;
};
