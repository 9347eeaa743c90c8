#pragma once
// The SPL in the target by all structure inputs together, by all acoustic inputs together and by
// all of them, as lines over frequency at one RPM or over RPM at one band, with a grid of the
// numbers. One modeless dialog per analysis project.
#include "platform/ui/ZuDialog.h"
#include "views/StAcSplBySingleIPData.h"
#include "platform/ui/SingleInstance.h"

#include <string>

class CAnalysisProject;
class CFlexGridEx;
class CMSFlexGrid;
class CZuChart;
class CZuRpmMultiVecFunc;
class QComboBox;
class QPushButton;
class QRadioButton;

class CDlgCompStAcSplBySingleIP : public CZuDialog, public CSingleInstance<CDlgCompStAcSplBySingleIP>
{
    Q_OBJECT

public:
    static constexpr int IDD = 4006;

    static CDlgCompStAcSplBySingleIP* CreateInstance(CAnalysisProject* project, QWidget* parent);
    // The dialog of a project: the open one brought forward, else a new one over the target's SPL
    // table by input subsystem, shown; null when the table is missing.
    static CDlgCompStAcSplBySingleIP* Open(CAnalysisProject* project, const std::string& target,
                                           const CZuRpmMultiVecFunc* splTable, QWidget* parent);

    CDlgCompStAcSplBySingleIP(CAnalysisProject* project, QWidget* parent = nullptr);

    void SetTargetSubsystem(const std::string& name) { m_target = name; }
    // The SPL table (dB per input subsystem; not owned).
    void SetSplFolder(const CZuRpmMultiVecFunc* table) { m_table = table; }

    void SetAxis(int axis);
    void SelectPosition(int index);
    void SelectRow(int row);
    void OnPickRow();
    std::string GridText() const;
    bool CopyGrid();

    const CStAcSplBySingleIPData& Data() const { return m_data; }
    CMSFlexGrid* Grid() const;
    CZuChart* LineChart() const { return m_line; }
    QComboBox* PositionList() const { return m_list; }

protected:
    bool OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillList();
    void FillGrid();
    void Draw();
    void SelectGridColumn(int row);

    CAnalysisProject* m_project = nullptr;
    const CZuRpmMultiVecFunc* m_table = nullptr;
    std::string m_target;
    CStAcSplBySingleIPData m_data;
    int m_axis = 0;

    QComboBox* m_list = nullptr;
    CZuChart* m_line = nullptr;
    CFlexGridEx* m_grid = nullptr;
    QRadioButton* m_axisRadio[2] = {};
    QPushButton* m_clear = nullptr;
    QPushButton* m_pick = nullptr;
};
