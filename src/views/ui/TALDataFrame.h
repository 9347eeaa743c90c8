#pragma once
// The TAL data window: the subsets of a spectrum map over engine speed, the table of the chosen
// subset and its chart, with the display bar of the data frame. A click on a point of the chart
// selects its subset and row in the table.
#include "views/ui/QMXDataFrame.h"

class CTALDataDoc;
class CTALDataGraphView;
class CTALDataSelectView;
class CTALDataTableView;
class CTALVOProject;
class CZuRpmFunc;
class QMdiArea;

class CTALDataFrame : public CQMXDataFrame
{
    Q_OBJECT
public:
    explicit CTALDataFrame(std::unique_ptr<CTALDataDoc> doc, QWidget* parent = nullptr);
    ~CTALDataFrame() override;

    // The window of a map: the open one brought forward, or a new one in the client area (a
    // window of its own without one). project: the container whose display items and options the
    // window uses (null: the map's owner project's container). Null without a map.
    static CTALDataFrame* Open(QMdiArea* area, CZuRpmFunc* function, CTALVOProject* project = nullptr);

    CTALDataDoc* GetTALDocument() const;
    CTALDataSelectView* GetSelectView() const { return m_select; }
    CTALDataTableView* GetTableView() const { return m_table; }
    CTALDataGraphView* GetGraphView() const { return m_graph; }

private:
    CTALDataSelectView* m_select;
    CTALDataTableView* m_table;
    CTALDataGraphView* m_graph;
};
