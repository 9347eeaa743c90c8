#pragma once
// The choice of one or more unit groups, with the units of the selected one shown beside the list.
#include "platform/ui/ZuDialog.h"

#include <vector>

class CMSFlexGrid;
class CTALVOProject;
class QListWidget;

class CDlgRegSlotGroup : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4100;

    explicit CDlgRegSlotGroup(CTALVOProject* project, QWidget* parent = nullptr);

    // At most this many groups may be ticked (0: any number); OK refuses more with a message.
    void SetMaxTicked(int count) { m_maxTicked = count; }
    // The ticked groups' indices in the project's list, in list order (after OK).
    const std::vector<int>& GetSelection() const { return m_selection; }

    void SetTicked(int index, bool ticked);
    void OnSelectGroup(int index);

    QListWidget* GroupList() const { return m_list; }
    CMSFlexGrid* Grid() const { return m_grid; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CTALVOProject* m_project;
    int m_maxSlot = 0;
    int m_maxTicked = 0;
    std::vector<int> m_selection;
    QListWidget* m_list;
    CMSFlexGrid* m_grid;
};
