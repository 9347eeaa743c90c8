#pragma once
// The switchable-axis table window: the first-index list, the grid and the chart of an
// RPM-selected result, with a bar that picks the axis (frequency or RPM rows; RPM only for an
// analysis by order) and the first index. One window per function: opening it again brings it
// forward, and it closes when the function is deleted.
#include "platform/ui/ZuTableDataDoc.h"
#include "platform/ui/ZuTableDataFrame.h"

#include <memory>

class CSwAxisGraphView;
class CSwAxisTableDoc;
class CSwAxisTableView;
class CTALVOProject;
class CZuRpmSelFunc;
class CZuTableSelectView;
class QComboBox;
class QLabel;
class QMdiArea;

class CSwAxisTableFrame : public CZuTableDataFrame, public IZuTableDataView
{
    Q_OBJECT
public:
    static constexpr int IDD_BAR = 4018;
    static constexpr int IDC_FIRST_LABEL = 3258;
    static constexpr int IDC_FIRST_INDEX = 3059;
    static constexpr int IDC_AXIS = 3060;

    explicit CSwAxisTableFrame(std::unique_ptr<CSwAxisTableDoc> doc, QWidget* parent = nullptr);
    ~CSwAxisTableFrame() override;

    // The window of a function: the open one brought forward, or a new one in the client area
    // (a window of its own without one). Null without a function.
    static CSwAxisTableFrame* Open(QMdiArea* area, CZuRpmSelFunc* function, CTALVOProject* project = nullptr);

    CSwAxisTableDoc* GetSwAxisDocument() const;
    CZuTableSelectView* GetSelectView() const { return m_select; }
    CSwAxisTableView* GetTableView() const { return m_table; }
    CSwAxisGraphView* GetGraphView() const { return m_graph; }
    QLabel* FirstIndexLabel() const { return m_label; }
    QComboBox* AxisCombo() const { return m_axis; }
    QComboBox* FirstIndexCombo() const { return m_first; }

    // A data window opens wide enough for the three panes.
    QSize sizeHint() const override { return QSize(960, 540); }

    // The bar for the kind of analysis: the axis choices and the first indices.
    void SetupDialogBar();
    void FillFirstIndexCombo();
    // The bar's choices (3060 and 3059).
    void OnAxisSelected(int item);
    void OnFirstIndexSelected(int item);

    // A first index chosen in the list: the combo follows.
    void OnUpdate(IZuTableDataView* sender, int hint) override;

private:
    CZuTableSelectView* m_select;
    CSwAxisTableView* m_table;
    CSwAxisGraphView* m_graph;
    CZuControlBar* m_bar = nullptr;
    QLabel* m_label = nullptr;
    QComboBox* m_axis = nullptr;
    QComboBox* m_first = nullptr;
    int m_functionListener = 0;
};
