#pragma once
// The sensors of one subsystem: the sensors of its kind (accelerometers for a structure,
// microphones for a cavity), ticked where the sensor assignment gives them to the subsystem. OK
// writes the new choice into every plan and the assignment, but only when every plan can take it.
#include "platform/ui/ZuDialog.h"

#include <string>
#include <vector>

class CTALVOProject;
class QCheckBox;
class QLabel;
class QListWidget;

class CDlgSelectSensors : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4092;
    // Sensors one subsystem holds at most.
    static constexpr int kMaxSensors = 60;

    explicit CDlgSelectSensors(CTALVOProject* project, QWidget* parent = nullptr);

    void SetSubsystem(const std::string& name);
    const std::string& GetSubsystem() const { return m_subsystem; }

    // Refills the list (3049 hides sensors any subsystem holds).
    void FillList();
    void SetHideAssigned(bool hide);
    void SetTicked(int row, bool ticked);
    // The ticked sensors in list order.
    std::vector<std::string> GetTickedSensors() const;
    QString CountText() const;
    QListWidget* ListCtrl() const { return m_list; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void UpdateCount();

    CTALVOProject* m_project;
    std::string m_subsystem;
    bool m_structure = false;
    bool m_filling = false;
    QCheckBox* m_hide;
    QListWidget* m_list;
    QLabel* m_nameText;
    QLabel* m_countText;
};
