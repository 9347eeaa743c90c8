#pragma once
// Shows one power-contribution result over RPM as charts: how the target's level is shared among
// the contributing subsystems (view 0), their inflow rates (view 1) and, when the option is set,
// the SPL each contributor alone keeps in the target cavity with the total, the sum of the ticked
// contributors and their difference (view 2); over frequency at one RPM or over RPM at one band.
// One modeless viewer per result function.
#include "platform/ui/ZuDialog.h"
#include "platform/win/MessageTarget.h"
#include "views/CavPcViewData.h"
#include "platform/ui/SingleInstance.h"

#include <QTimer>

#include <string>

class CAnalysisProject;
class CDlgSelectSPLsSrc;
class CStackedChart;
class CZuChart;
class CZuDataTipCtrl;
class CZuRpmPcFunc;
class CZuRpmResultData;
class QComboBox;
class QLabel;
class QRadioButton;

class CDlgCavPcView : public CZuDialog, public IMessageTarget, public CSingleInstance<CDlgCavPcView>
{
    Q_OBJECT

public:
    static constexpr int IDD = 4005;

    // A new viewer registered for the key, or null when the key has one (the window is made by
    // the caller).
    static CDlgCavPcView* CreateInstance(const void* key, QWidget* parent);
    // Closes the key's viewer; 1 when there was one.
    // The viewer of a result function: the open one brought forward, else a new one shown.
    static CDlgCavPcView* ShowInstance(CZuRpmPcFunc* result, QWidget* parent);

    explicit CDlgCavPcView(QWidget* parent = nullptr);
    ~CDlgCavPcView() override;

    void SetData(const std::string& name, CZuRpmPcFunc* result);

    // What the user does.
    void SetView(int view);
    void SetAxis(int axis);
    void SetWeighting(int weighting);
    void SelectPosition(int index);

    const CCavPcViewData& Data() const { return m_data; }
    CStackedChart* StackedChart() const { return m_stacked; }
    CZuChart* LineChart() const { return m_line; }
    QComboBox* PositionList() const { return m_list; }
    QRadioButton* ViewRadio(int view) const { return m_viewRadio[view]; }
    CDlgSelectSPLsSrc* SourceDialog() const { return m_sources; }
    CZuDataTipCtrl* DataTip() const { return m_tip; }
    bool IsSplViewEnabled() const { return m_splView != 0; }
    // The read-out text at a point of the stacked chart (0-based fractional x, value y); empty
    // when nothing is hit.
    QString ReadOut(double x, double y) const;

    // The SPL-source list's notifications.
    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;

protected:
    bool OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillList();
    void Redraw();
    void DrawStacked();
    void DrawLine();
    void SyncSourceTicks();
    void OnReadOutTimer();
    CAnalysisProject* Project() const;

    std::string m_target;
    CZuRpmPcFunc* m_result = nullptr;
    CCavPcViewData m_data;
    int m_view = 0;
    int m_axis = 0;
    int m_weighting = -1;
    int m_splView = 0;
    int m_highlighted = -1; // contributor selected in the source list
    QPoint m_lastPos, m_pendingPos;
    QTimer m_readOutTimer;

    CStackedChart* m_stacked = nullptr;
    CZuChart* m_line = nullptr;
    QComboBox* m_list = nullptr;
    QRadioButton* m_viewRadio[3] = {};
    QRadioButton* m_axisRadio[2] = {};
    QRadioButton* m_aWeight = nullptr;
    QRadioButton* m_noWeight = nullptr;
    CZuDataTipCtrl* m_tip = nullptr;
    CDlgSelectSPLsSrc* m_sources = nullptr;
};
