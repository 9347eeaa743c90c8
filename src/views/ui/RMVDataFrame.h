#pragma once
// The RMV data window: the subsets of a multi-vector function over engine speed, the table of the
// chosen subset (one column per subsystem) and its chart (one curve per subsystem), with the
// display bar of the data frame. A click on a chart point selects its cell in the table.
#include "views/ui/QMXDataFrame.h"

class CRMVDataDoc;
class CRMVDataGraphView;
class CRMVDataSelectView;
class CRMVDataTableView;
class CTALVOProject;
class CZuRpmMultiVecFunc;
class QMdiArea;

class CRMVDataFrame : public CQMXDataFrame
{
    Q_OBJECT
public:
    explicit CRMVDataFrame(std::unique_ptr<CRMVDataDoc> doc, QWidget* parent = nullptr);
    ~CRMVDataFrame() override;

    // The window of a function: the open one brought forward, or a new one in the client area (a
    // window of its own without one). project: the container whose display items and options the
    // window uses (null: the map's owner project's container). Null without a map.
    static CRMVDataFrame* Open(QMdiArea* area, CZuRpmMultiVecFunc* function, CTALVOProject* project = nullptr);

    CRMVDataDoc* GetRMVDocument() const;
    CRMVDataSelectView* GetSelectView() const { return m_select; }
    CRMVDataTableView* GetTableView() const { return m_table; }
    CRMVDataGraphView* GetGraphView() const { return m_graph; }

private:
    CRMVDataSelectView* m_select;
    CRMVDataTableView* m_table;
    CRMVDataGraphView* m_graph;
};
