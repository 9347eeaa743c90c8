#pragma once
// The frame of a table window: dialog bars at the top, and below them a splitter of three panes
// side by side: the select pane (the list of subsets), the grid pane and the chart pane. The
// frame owns its document; derived frames create the panes (SetPanes) and the bars (AddDialogBar).
//
// One window per element: the frame records itself in its element (SetThisFrameWnd), FindFrame
// finds it there, and Activate brings it forward. When the element is destroyed the frame
// forgets it and closes. The frame is the element's message target: private messages sent to it
// reach OnMessage.
#include "platform/win/MessageTarget.h"

#include <QWidget>

#include <memory>

class CZuControlBar;
class CZuTableData;
class CZuTableDataDoc;
class QMdiArea;
class QSplitter;
class QVBoxLayout;

class CZuTableDataFrame : public QWidget, public IMessageTarget
{
    Q_OBJECT
public:
    // Takes the document; records the frame in the document's element.
    explicit CZuTableDataFrame(std::unique_ptr<CZuTableDataDoc> doc, QWidget* parent = nullptr);
    ~CZuTableDataFrame() override;

    CZuTableDataDoc* GetDocument() const { return m_doc.get(); }
    QSplitter* Splitter() const { return m_splitter; }
    QWidget* SelectPane() const { return m_panes[0]; }
    QWidget* GridPane() const { return m_panes[1]; }
    QWidget* ChartPane() const { return m_panes[2]; }

    // The frame that shows an element (recorded in it); null when none.
    static CZuTableDataFrame* FindFrame(CZuTableData* data);
    // Puts the frame into the client area (a sub-window of the given size) or, without one, shows
    // it as a window of its own; activates it.
    static void Show(CZuTableDataFrame* frame, QMdiArea* area, QSize size = QSize(900, 540));
    // Brings the frame (or its sub-window) forward.
    void Activate();
    // Closes the frame (its sub-window when it has one).
    void CloseFrame();

    // A window of a useful size: the grid and a readable chart side by side.
    QSize sizeHint() const override;
    // Widens the grid pane to show its row headings and first columns (the chart keeps the rest).
    void FitGridPane();

    // Shows or collapses the select pane.
    void ShowListPane(bool show);
    bool IsListPaneShown() const;

    // IMessageTarget
    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;

protected:
    // The panes, left to right, with the widths of the first two (the chart takes the rest).
    void SetPanes(QWidget* select, QWidget* grid, QWidget* chart, int selectWidth, int gridWidth);
    // A bar above the splitter (owned by the frame from here on); it wraps its controls onto more
    // rows in a narrow window.
    void AddDialogBar(CZuControlBar* bar);
    // Private messages; 0 when not handled.
    virtual intptr_t OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    // The first show lays the panes out over the window's real width.
    void showEvent(QShowEvent* event) override;
    // A window made narrower (tiled, say) keeps the grid's first column in sight, narrowing the
    // chart as far as it stays readable.
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The chart pane's least readable width: what its title and labels need, 160 at least.
    int ChartLeastWidth() const;
    // Sets the window's least size from its panes' and bars' (see the source for the bars).
    void UpdateMinimumSize();

    std::unique_ptr<CZuTableDataDoc> m_doc;
    QVBoxLayout* m_layout;
    QSplitter* m_splitter;
    QWidget* m_panes[3] = {nullptr, nullptr, nullptr};
    int m_listener = 0;
    int m_listWidth = 100;
    int m_gridWidth = 150;
    bool m_laidOut = false;
};
