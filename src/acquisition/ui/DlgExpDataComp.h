#pragma once
// Compares the spectrum maps that the measured data sets hold for one subsystem: for a chosen
// group of data sets and a chosen RPM (or frequency) the levels of every data set in a graph and a
// table, and for exactly two data sets their level difference with the larger differences
// coloured. Groups: the used data sets of the DAQ project, one per measurement time, then the used
// data sets of each experiment. One modeless dialog per key.
#include "platform/elements/MElementList.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/StringIds.h"
#include "platform/win/Messages.h"
#include "platform/ui/SingleInstance.h"

#include <QColor>

#include <string>
#include <vector>

class CDaqProject;
class CDAQExperiment;
class CMElement;
class CTALVOProject;
class IMessageTarget;
class QComboBox;
class QCustomPlot;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

class CDlgExpDataComp : public CZuDialog, public CSingleInstance<CDlgExpDataComp>
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4024,
        IDC_GROUP = 3239,
        IDC_VALUE = 3235,
        IDC_PICK_COLUMN = 3147,
        IDC_PICKER = 3240,
    };
    // Sent to the owner window when a data column is clicked (the data set as lParam).

    // One entry of the group combo: kind 0 compares experiments, kind 1 the data sets of one
    // experiment; the maps are one per data set (data sets without one are left out).
    struct CDataInfo
    {
        int kind = 0;
        std::string name;
        CMElement* experiment = nullptr; // kind 1: the experiment whose data sets these are
        CMElementList data;
    };

    // One data set's values on the group's axes.
    struct Series
    {
        CDAQExperiment* data = nullptr;
        std::vector<double> rpms;
        std::vector<double> freqs;
        std::vector<std::vector<double>> values; // [rpm row][frequency]
    };

    explicit CDlgExpDataComp(QWidget* parent = nullptr, int templateId = IDD);
    ~CDlgExpDataComp() override;

    // ---- one modeless dialog per key ----
    static CDlgExpDataComp* CreateInstance(const void* key, QWidget* parent);
    // A modal dialog over one element's measured data: an experiment (CTALVOExp) is compared with
    // itself and the owner's used data sets; the dialog's result (IDOK, IDCANCEL).
    static int DoModalFor(CDaqProject* owner, CMElement* element, QWidget* parent = nullptr);

    void SetOwnerID(CDaqProject* owner) { m_owner = owner; }
    // The experiments (CTALVOExp) to compare.
    void SetDataList(const CMElementList& experiments) { m_experiments = experiments; }
    void SetOwnerWindow(IMessageTarget* window) { m_ownerWindow = window; }

    // ---- what the dialog shows ----
    const std::vector<CDataInfo>& Groups() const { return m_groups; }
    const std::vector<Series>& CurrentSeries() const { return m_series; }
    const std::vector<double>& AxisValues() const { return m_axisValues; }
    void SelectGroup(int index);
    void SelectValue(int index);
    // 0: values are RPMs, curves over frequency; 1: values are frequencies, curves over RPM.
    void SetAxisMode(int mode);
    int AxisMode() const { return m_axisMode; }
    // Level of a data set at an axis point; 0 for no value.
    double Level(int series, int point) const;
    // False when the data set has no positive value there.
    bool Value(int series, int point, double& level) const;
    // The click on a data column (1-based, column 0 holds the axis).
    void OnDataColumnClicked(int column);
    // The ticked data sets of the picker become the chosen group's data.
    void OnPickerTicked(const CMElementList& ticked);
    // The grid as clipboard text; false when the clipboard cannot be written.
    std::string GridText(const QTableWidget& grid) const;
    bool CopyGrid(const QTableWidget& grid);
    void OpenPicker();
    // Button 3147: the level grid's data columns by their headers in the subsystem picker; the
    // one chosen is selected as a click on it selects it.
    void PickColumn();

    // Background of a difference cell: red above 1 dB, yellow from 0.5 dB, none below.
    static QColor DiffColor(double difference);
    // The label of a data set: "SN#%02d-%s" (serial and date) in an experiment's group, else the
    // experiment's description with the serial ("%s-#%02d").
    static std::string SeriesLabel(const CDAQExperiment& data, int kind);

    QComboBox* GroupCombo() const { return m_group; }
    QComboBox* ValueCombo() const { return m_value; }
    QTableWidget* LevelGrid() const { return m_levels; }
    QTableWidget* DiffGrid() const { return m_diff; }
    QLabel* DiffTitle() const { return m_diffTitle; }
    QCustomPlot* Graph() const { return m_graph; }
    QPushButton* PickerButton() const { return m_pickerButton; }
    QPushButton* PickColumnButton() const { return m_pickColumn; }
    int HighlightedSeries() const { return m_highlighted; }

protected:
    bool OnInitDialog() override;
    void keyPressEvent(QKeyEvent* event) override;

    // The series of a group's data sets; false (with the message shown) when their axes differ.
    virtual bool CollectSeries(const CDataInfo& group, std::vector<Series>& out);
    virtual uint32_t AxisMismatchMessage() const { return IDS_GROUP_AXES_DIFFER; }
    // Extra controls of a derived dialog go into this row.
    QWidget* m_extraRow = nullptr;
    CTALVOProject* Container() const;
    // Rebuilds axis values, value combo and displays of the chosen group.
    void Recompute(uint32_t mismatchMessage = 0);

private:
    // What the dialog shows is going (its DAQ project, an experiment or a data set of a group):
    // it lets go of everything and closes, modal or not.
    void OnObjectGoing(const void* object);
    bool Shows(const void* object) const;
    void BuildGroups();
    void Redraw();
    void FillLevelGrid();
    void FillDiffGrid();
    void DrawGraph();

    CDaqProject* m_owner = nullptr;
    CMElementList m_experiments;
    IMessageTarget* m_ownerWindow = nullptr;
    std::vector<CDataInfo> m_groups;
    std::vector<Series> m_series;
    std::vector<double> m_axisValues;
    int m_groupIndex = 0;
    int m_valueIndex = 0;
    int m_axisMode = 0;
    int m_highlighted = -1;
    bool m_valid = false;
    int m_listener = 0;

    QComboBox* m_group = nullptr;
    QComboBox* m_value = nullptr;
    QRadioButton* m_byRpm = nullptr;
    QRadioButton* m_byFreq = nullptr;
    QCustomPlot* m_graph = nullptr;
    QTableWidget* m_levels = nullptr;
    QTableWidget* m_diff = nullptr;
    QLabel* m_diffTitle = nullptr;
    QPushButton* m_pickColumn = nullptr;
    QPushButton* m_pickerButton = nullptr;
};

// The same per local point ("LP#%d") with the local-point functions of the data sets.
class CDlgExpLPDataComp : public CDlgExpDataComp, public CSingleInstance<CDlgExpLPDataComp>
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4025,
        IDC_LOCAL_POINT = 3237
    };

    explicit CDlgExpLPDataComp(QWidget* parent = nullptr);
    // Its own dialogs, apart from those of the data comparison.
    using CSingleInstance<CDlgExpLPDataComp>::GetInstance;
    using CSingleInstance<CDlgExpLPDataComp>::DestroyInstance;
    using CSingleInstance<CDlgExpLPDataComp>::Instances;
    using CSingleInstance<CDlgExpLPDataComp>::ProgramKey;
    static CDlgExpLPDataComp* CreateInstance(const void* key, QWidget* parent);
    // As the data comparison's, per local point.
    static int DoModalFor(CDaqProject* owner, CMElement* element, QWidget* parent = nullptr);

    void SelectLocalPoint(int index);
    QComboBox* LocalPointCombo() const { return m_point; }

protected:
    bool CollectSeries(const CDataInfo& group, std::vector<Series>& out) override;
    uint32_t AxisMismatchMessage() const override { return IDS_LP_AXES_DIFFER; }

private:
    QComboBox* m_point = nullptr;
    int m_pointIndex = 0;
    int m_pointCountOfGroup = -1;
};
