#pragma once
// The chart pane of a TAL data window: the current subset of the map, or every subset (one curve
// each, the current one drawn bold) while all subsets are plotted.
#include "views/ui/QMXGraphView.h"

#include <chrono>
#include <memory>

class CTALDataDoc;
class CZuRpmFunc;

class CTALDataGraphView : public CQMXGraphView
{
    Q_OBJECT
public:
    explicit CTALDataGraphView(CTALDataDoc* doc, QWidget* parent = nullptr);
    ~CTALDataGraphView() override;

    // A subset chosen in the list while every subset is plotted only changes the highlight; any
    // other update rebuilds the chart.
    void OnUpdate(IZuTableDataView* sender, int hint) override;
    // Curves of up to kImmediateValues values in all are drawn at once; longer ones are read in
    // steps of kStepValues values, as many per turn of the event loop as fit in kTurnTime, and
    // drawn when all are read: the window shows and answers at once, however long its map. A curve
    // reduced for drawing is read by the pool from the call on, while the window goes on.
    void BuildChart(int subset);
    bool IsPlotAll() const { return m_plotAll; }
    // A chart being read in steps that is not drawn yet.
    bool IsBuilding() const { return m_pending != nullptr; }
    static constexpr int kImmediateValues = 65536;
    static constexpr int kStepValues = 8192;
    static constexpr std::chrono::milliseconds kTurnTime{4};
    // The pool reads the first curve of a long chart on for up to kFirstTurnTime while the window
    // goes on.
    static constexpr std::chrono::milliseconds kFirstTurnTime{16};
    // A curve reduced for drawing is read in pieces of at least kPieceRows rows, which the threads
    // of the pool take as they come.
    static constexpr int kPieceRows = 32768;
    struct Piece;

    QMenu* CreateContextMenu() override;

private:
    struct Pending;
    void BuildStep(int generation);
    // Reads the pending chart on until the deadline (one step at least); true when all is read.
    bool ReadOn(Pending& p, std::chrono::steady_clock::time_point deadline);
    struct Turn;
    // Cuts the current curve into pieces, starts the pool reading them until the deadline (with
    // one thread fewer when this one reads too), and finishes a turn started (this thread takes the
    // pieces left and waits for the rest); a turn started and finished at once.
    void MakePieces(Pending& p);
    void StartPieces(Pending& p, std::chrono::steady_clock::time_point deadline, bool withThisThread);
    void FinishPieces(Pending& p);
    void ReadPieces(Pending& p, std::chrono::steady_clock::time_point deadline);
    void Plot(std::vector<Series>& curves, CZuRpmFunc* f, int axis, int subset);

    CTALDataDoc* m_tal;
    bool m_plotAll = false;
    std::unique_ptr<Pending> m_pending;
    int m_generation = 0;
};
