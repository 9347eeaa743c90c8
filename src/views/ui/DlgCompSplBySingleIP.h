#pragma once
// Compares, for one analysis project and one target cavity, the SPL that each input subsystem
// produces alone: the sources, their overall sum ("O.A.") and the overall sum without the
// selected sources as levels in a grid and in charts (level shares, percent shares, level lines),
// over frequency at one RPM or over RPM at one band. One modeless dialog per analysis project.
#include "platform/ui/ZuDialog.h"
#include "views/SplBySingleIPData.h"
#include "platform/ui/SingleInstance.h"

#include <memory>
#include <string>
#include <vector>

class CAnalysisProject;
class CFlexGridEx;
class CMSFlexGrid;
class CStackedChart;
class CZuChart;
class CZuRpmMultiVecFunc;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

class CDlgCompSplBySingleIP : public CZuDialog, public CSingleInstance<CDlgCompSplBySingleIP>
{
    Q_OBJECT

public:
    static constexpr int IDD = 4006;

    static CDlgCompSplBySingleIP* CreateInstance(CAnalysisProject* project, QWidget* parent);
    // The dialog of a project: the open one brought forward, else a new one over the target's
    // SPL table by input subsystem (dB per source), shown; null when the table is missing.
    static CDlgCompSplBySingleIP* Open(CAnalysisProject* project, const std::string& target,
                                       const CZuRpmMultiVecFunc* splTable, QWidget* parent);
    // The same over a table of the target's energies by input subsystem, which the dialog keeps.
    static CDlgCompSplBySingleIP* OpenEnergies(CAnalysisProject* project, const std::string& target,
                                               std::unique_ptr<CZuRpmMultiVecFunc> energies, QWidget* parent);

    CDlgCompSplBySingleIP(CAnalysisProject* project, QWidget* parent = nullptr);
    ~CDlgCompSplBySingleIP() override;

    // Looks the target up in the model: a cavity with a volume gives the level factor.
    void SetTargetSubsystem(const std::string& name);
    // The energy table per source (not owned), or one the dialog keeps.
    void SetSplFolder(const CZuRpmMultiVecFunc* energies) { m_table = energies; }
    void AdoptTable(std::unique_ptr<CZuRpmMultiVecFunc> energies);

    // What the user does.
    void SetView(int view);
    void SetAxis(int axis);
    void SelectPosition(int index);
    void SelectRow(int row);
    void ClearSelection();
    void OnPickRow();
    // The grid as tab-separated text, CR LF after each row; false with message 6019 when the
    // clipboard cannot be written.
    std::string GridText() const;
    bool CopyGrid();

    const CSplBySingleIPData& Data() const { return m_data; }
    CMSFlexGrid* Grid() const;
    CStackedChart* StackedChart() const { return m_stacked; }
    CZuChart* LineChart() const { return m_line; }
    QComboBox* PositionList() const { return m_list; }
    QPushButton* ClearButton() const { return m_clear; }
    QRadioButton* ViewRadio(int view) const { return m_viewRadio[view]; }
    QLabel* HoverLabel() const { return m_hover; }
    // The source under a point of the stacked chart (0-based fractional x, value y); -1 none.
    int HitSource(double x, double y) const;

    // The line chart of rows of levels (no value: a gap); used by the grouped comparison too.
    struct CLine
    {
        std::string name;
        std::vector<double> levels;
        COLORREF color = 0;
        int style = 0;
    };
    static void DrawLevelLines(CZuChart& chart, const std::vector<double>& x, int axis, const std::vector<CLine>& lines,
                               const std::string& title);
    // Grid pieces the grouped comparison shares: the axis column (a header row, one row per x
    // value, data columns left empty), a data column selected over all rows (-1 clears) and the
    // grid as tab-separated text.
    static void FillAxisColumn(CMSFlexGrid& grid, const std::vector<double>& x, int axis, int dataCols);
    static void SelectDataColumn(CMSFlexGrid& grid, int row);
    static std::string TabText(const CMSFlexGrid& grid);
    static bool CopyText(const std::string& text);

protected:
    bool OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FillList();
    void FillGrid();
    void Draw();
    void SelectGridColumn(int row);

    CAnalysisProject* m_project = nullptr;
    const CZuRpmMultiVecFunc* m_table = nullptr;
    std::unique_ptr<CZuRpmMultiVecFunc> m_ownTable;
    std::string m_target;
    double m_volume = 0.0;
    CSplBySingleIPData m_data;
    int m_view = 0;
    int m_axis = 0;
    int m_splView = 0;

    QComboBox* m_list = nullptr;
    QLabel* m_hover = nullptr;
    CStackedChart* m_stacked = nullptr;
    CZuChart* m_line = nullptr;
    CFlexGridEx* m_grid = nullptr;
    QRadioButton* m_viewRadio[3] = {};
    QRadioButton* m_axisRadio[2] = {};
    QPushButton* m_clear = nullptr;
    QPushButton* m_pick = nullptr;
};
