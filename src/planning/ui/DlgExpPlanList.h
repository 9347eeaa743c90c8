#pragma once
// The list of the project's QMX experiment plans. Managing (mode 0): new, edit, copy, delete,
// reorder and the cable map. Choosing (mode 1): view a plan, or put one to use for the
// measurement, which rebuilds the Blix channel database and the units' sensor bundles from it.
// One list exists at a time.
#include "platform/win/CommandIds.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <QStringList>

#include <vector>

class CQMXSensorMap;
class CTALVOProject;
class QPushButton;
class QTableWidget;

// The main frame's command that opens the Blix channels of the selected project.
inline constexpr int ID_BLIX_CHANNEL_PROPERTY = CommandId::ID_MEASURE_BY_SUBSYSTEM;

class CDlgExpPlanList : public CZuDialog, public CSingleInstance<CDlgExpPlanList>
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4088;
    enum Mode
    {
        modeManage = 0,
        modeChoose = 1
    };

    static CDlgExpPlanList* ShowInstance(CTALVOProject* project, QWidget* parent = nullptr);
    static void DestroyInstance();

    explicit CDlgExpPlanList(CTALVOProject* project, QWidget* parent = nullptr);
    ~CDlgExpPlanList() override;

    void SetMode(int mode);
    int GetMode() const { return m_mode; }
    void Refill();

    // Puts the plan to use: the project's channel database gets one entry per channel of the
    // plan that has both a sensor and a subsystem, and each unit's sensor bundle the sensors at
    // the positions of their channels.
    static void UsePlan(CTALVOProject& project, const CQMXSensorMap& plan);
    // The read-only table of plans, one selectable row a plan, columns left-aligned with the
    // given widths (the last one stretches); the channel-plan list uses it too.
    static QTableWidget* CreatePlanTable(QWidget* parent, const QStringList& headers, const std::vector<int>& widths,
                                         int minWidth, int minHeight);

    // Commands on the selected plans.
    void OnNew();
    void OnEdit();
    void OnCopy();
    void OnView();
    void OnUse();
    void OnDelete();
    void OnUp();
    void OnDown();
    void OnCableMap();

    // Selects list rows as a user would (rows in list order).
    void SelectRows(const std::vector<int>& rows);
    QTableWidget* ListCtrl() const { return m_list; }
    QPushButton* Button(int id) const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // The unit groups' column is made from a format of the language loaded.
    void changeEvent(QEvent* event) override;

private:
    // Plan indices of the selected rows in row order; the first, -1 when none.
    std::vector<int> SelectedPlans() const;
    int FirstSelected() const;
    void FillRow(int row, int planIndex);
    void OpenEditor(int mode, CQMXSensorMap* plan);
    void Move(int delta);
    void CloseWindow();

    CTALVOProject* m_project;
    int m_mode = modeChoose;
    QTableWidget* m_list = nullptr;
};
