#pragma once
// The HSEA data-table window: the band list, the grid and the chart of one table of the HSEA
// model or its results, with a bar for the RPM (or order) of an RPM-selected result, the cell
// search and the options. One window per element: opening it again brings it forward, and it
// closes when its element is deleted.
#include "platform/win/CommandIds.h"
#include "platform/ui/ZuTableDataFrame.h"

#include <memory>

class CHSEADataGraphView;
class CHSEADataTableDoc;
class CHSEADataTableView;
class CTALVOProject;
class CZuMatFunc;
class CZuTableData;
class CZuTableSelectView;
class CZuVecFunc;
class QComboBox;
class QLabel;
class QMdiArea;
class QPushButton;

class CHSEADataTableFrame : public CZuTableDataFrame
{
    Q_OBJECT
public:
    static constexpr int IDD_BAR = 4017;
    static constexpr int IDC_SELECTOR_LABEL = 3254;
    static constexpr int IDC_RPM = 3063;
    static constexpr int ID_FIND_CELL = CommandId::ID_FIND_CELL;

    explicit CHSEADataTableFrame(std::unique_ptr<CHSEADataTableDoc> doc, QWidget* parent = nullptr);
    ~CHSEADataTableFrame() override;

    // The window of a table element: the open one brought forward, or a new one in the client area
    // (a window of its own without one). project: the container whose options the window uses
    // (null: the element's). Null without an element.
    static CHSEADataTableFrame* Open(QMdiArea* area, CZuTableData* element, CTALVOProject* project = nullptr);

    CHSEADataTableDoc* GetHSEADocument() const;
    CZuTableSelectView* GetSelectView() const { return m_select; }
    CHSEADataTableView* GetTableView() const { return m_table; }
    CHSEADataGraphView* GetGraphView() const { return m_graph; }
    QLabel* SelectorLabel() const { return m_label; }
    QComboBox* RpmCombo() const { return m_rpm; }
    QPushButton* FindButton() const { return m_find; }

    // A data window opens wide enough for the three panes.
    QSize sizeHint() const override { return QSize(960, 540); }

    // The bar: the selector label for the kind of analysis, the RPMs of the selector.
    void SetupDialogBar();
    // Shows the panes the table needs (band list, chart).
    void ArrangePanes();
    // Cell search (1108): the dialog of the table's kind, then the cell is selected. False when
    // the table has no search or the dialog was cancelled.
    bool FindCell();
    bool FindCellInMatrix(CZuMatFunc* matrix);
    bool FindCellInVector(CZuVecFunc* vector);
    // The RPM selector's choice: item i of the combo.
    void OnRpmSelected(int item);

private:
    CZuTableSelectView* m_select;
    CHSEADataTableView* m_table;
    CHSEADataGraphView* m_graph;
    CZuControlBar* m_bar = nullptr;
    QLabel* m_label = nullptr;
    QComboBox* m_rpm = nullptr;
    QPushButton* m_find = nullptr;
    int m_elementListener = 0;
};
