#pragma once
// After the scan: the measurement sets found per subsystem, and for the selected set its local
// points with their recording date and time, each ticked to be imported or not; and whether the
// earlier experiments of the project are all removed.
#include "platform/ui/ZuDialog.h"

#include "uff/UFImportUI.h"

class QCheckBox;
class QTreeWidget;
class QTreeWidgetItem;

class CDlgUFDataCheck : public CZuDialog
{
    Q_OBJECT
public:
    enum
    {
        IDD = 4106,
        IDC_SETS = 3163,
        IDC_POINTS = 3164,
        IDC_CLEAR = 3049
    };

    explicit CDlgUFDataCheck(CUFDataCheckInput& input, QWidget* parent = nullptr);

    QTreeWidget* Sets() const { return m_sets; }
    QTreeWidget* Points() const { return m_points; }
    QCheckBox* ClearBox() const { return m_clear; }
    // Fills the local points of the first selected set.
    void OnSetSelected();

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    void OnPointChanged(QTreeWidgetItem* item, int column);
    // The groups of the subsystem at that index of the table, in their order.
    std::vector<CUFDaqData*> GroupsOf(const std::string& subsystem) const;

    CUFDataCheckInput& m_input;
    QTreeWidget* m_sets;
    QTreeWidget* m_points;
    QCheckBox* m_clear;
    bool m_filling = false;
};
