#pragma once
// Checks energy ratios against a measurement: for a DAQ project the target's measured energy
// ("by Exp") against the target energy predicted from the other subsystems' measured energies
// through the speaker/tapping energy ratios and through the model's energy ratios, with their
// level differences, per model band at one RPM or per RPM at one model band. One at a time.
#include "platform/ui/ZuDialog.h"
#include "views/DaqERCompData.h"
#include "platform/ui/SingleInstance.h"

#include <string>

class CDaqProject;
class CModelProject;
class CZuChart;
class QComboBox;
class QRadioButton;

class CDlgDaqERComp : public CZuDialog, public CSingleInstance<CDlgDaqERComp>
{
    Q_OBJECT

public:
    static constexpr int IDD = 4012;

    // Null when an instance exists.
    static CDlgDaqERComp* CreateInstance(QWidget* parent);
    // The command's road: any old instance goes, a new one loads the project's data and shows;
    // null (with the message shown) when the data cannot be loaded.
    static CDlgDaqERComp* Open(CDaqProject* daq, QWidget* parent);

    // Loads the measured data of the project; 1 on success, 0 (message 7047 shown) when a
    // subsystem or the target has no measured data.
    int Initialize(CDaqProject* daq);

    void SetAxis(int axis);
    void SelectPosition(int index);
    bool Copy();

    const CDaqERCompData& Data() const { return m_data; }
    CZuChart* Chart() const { return m_chart; }
    QComboBox* PositionList() const { return m_list; }

protected:
    bool OnInitDialog() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit CDlgDaqERComp(QWidget* parent);
    ~CDlgDaqERComp() override;
    void FillList();
    void ComputeAndDraw();
    void Draw();
    bool Ratio(const std::string& s, const std::string& t, bool model, std::vector<double>& er) const;

    CDaqProject* m_daq = nullptr;
    CModelProject* m_model = nullptr;
    CDaqERCompData m_data;
    int m_axis = 0;
    int m_listener = 0;

    QComboBox* m_list = nullptr;
    CZuChart* m_chart = nullptr;
    QRadioButton* m_axisRadio[2] = {};
};
