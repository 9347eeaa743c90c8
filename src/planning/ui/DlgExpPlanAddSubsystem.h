#pragma once
// Places whole subsystems, with every sensor the sensor assignment gives them, into a plan. For a
// QMX plan each subsystem starts on a unit of its own, so odd sensor counts take a whole unit and
// units are counted too.
#include "platform/ui/ZuDialog.h"

class CExpPlan;
class CTALVOProject;
class QCheckBox;
class QLabel;
class QTableWidget;

class CDlgExpPlanAddSubsystem : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4086;

    explicit CDlgExpPlanAddSubsystem(CTALVOProject* project, QWidget* parent = nullptr);

    // The plan to place into (not owned); set before running.
    void SetPlan(CExpPlan* plan);

    // Refills the list (show-all box 3049 decides whether subsystems of stored plans appear).
    void FillList();
    void SetShowAll(bool all);
    // Ticks or unticks every item (3046).
    void OnTickAll(bool tick);
    void SetTicked(int row, bool ticked);
    // Recounts channels and units of the ticked items into texts 2071 and 2072.
    void Count();

    int GetItemCount() const;
    std::string GetItemName(int row) const;
    QString ChannelText() const;
    QString UnitText() const;
    QTableWidget* ListCtrl() const { return m_list; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    bool IsQMXPlan() const;

    CTALVOProject* m_project;
    CExpPlan* m_plan = nullptr;
    int m_freeChannels = 0;
    int m_freeUnits = 0;
    int m_channels = 0;
    int m_units = 0;
    bool m_filling = false;
    QCheckBox* m_showAll;
    QCheckBox* m_tickAll;
    QTableWidget* m_list;
    QLabel* m_channelText;
    QLabel* m_unitText;
    QLabel* m_unitLabel;
};
