#pragma once
// A chart of the program's windows: QCustomPlot with labelled axes, and a context menu that saves
// the chart as a PNG picture or a PDF page (file chosen through the prompt service).
//
// Curves: AddCurve adds one line graph per subset in a fixed colour order; HighlightCurve draws
// one of them bold and the others thin, so the subset chosen elsewhere stands out; a click on a
// curve near one of its points reports the curve and point (PointClicked).
#include <qcustomplot.h>

#include <string>
#include <vector>

class CZuChart : public QCustomPlot
{
    Q_OBJECT

public:
    explicit CZuChart(QWidget* parent = nullptr);

    // Title above the plot; empty removes it.
    void SetTitle(const QString& title, const QString& subtitle = QString());
    QString Title() const;
    // Removes every graph, bar, item and the title; resets the axes to linear.
    void ClearChart();
    // Logarithmic axis from low to high (both positive).
    static void SetLogAxis(QCPAxis* axis, double low, double high);
    // The decades around positive extremes: 10^floor(log10(smallest)) to 10^ceil(log10(largest)).
    // False (low and high untouched) unless 0 < smallest < largest.
    static bool DecadeRange(double smallest, double largest, double& low, double& high);
    // Logarithmic axis over the decades of the extremes; without a usable range (see DecadeRange)
    // the axis stays logarithmic and fits the data, a flat curve the decades around its value.
    void SetLogAxisOver(QCPAxis* axis, double smallest, double largest);
    // Linear axis fitted to the curves. A flat curve, or one whose values differ by less than the
    // tick labels show, gets room around its value (a tenth of it each way, 1 about zero), so that
    // no two ticks read alike.
    static void FitLinearAxis(QCPAxis* axis);

    // ---- curves ----
    // Adds a line through the points (x and y of the same length, x ascending; NaN values are
    // gaps); the colour follows the number of curves already drawn. A curve of more than
    // kMaxDrawnPoints points is drawn through the extremes of as many stretches, so that drawing
    // costs the same for any length. Returns the graph (owned by the chart).
    static constexpr int kMaxDrawnPoints = 4000;
    QCPGraph* AddCurve(const QString& name, const QVector<double>& x, const QVector<double>& y);
    // Adds a long curve already reduced to the points it is drawn through (CZuCurveEnvelope):
    // source gives the index of each in the whole curve, as SourcePoint reports it.
    QCPGraph* AddReducedCurve(const QString& name, const QVector<double>& x, const QVector<double>& y,
                              std::vector<int> source);
    int CurveCount() const { return graphCount(); }
    QCPGraph* Curve(int i) const { return i >= 0 && i < graphCount() ? graph(i) : nullptr; }
    // The index, in the points given to AddCurve, of a point drawn by a curve (-1 when none).
    int SourcePoint(int curve, int drawnPoint) const;
    // Draws curve i bold and the others thin; -1 draws them all alike. Without a legend in view the
    // title names the highlighted curve on a line of its own.
    void HighlightCurve(int i);
    // A legend below the plot, in rows, that never covers the curves: shown while the chart draws
    // from 2 to kLegendCurves curves (one curve is named by the title; more would crowd the plot,
    // and then the highlighted curve is named in the title instead).
    static constexpr int kLegendCurves = 8;
    // Names to a row of the legend at most; fewer where the chart is too narrow for them whole.
    static constexpr int kLegendColumns = 4;
    void UpdateLegend();
    // Moves a plot's legend from over its curves to a row below it (names in rows of up to
    // kLegendColumns), so that it never covers a curve; shown or hidden as it was.
    static void PlaceLegendBelow(QCustomPlot& plot);
    int HighlightedCurve() const { return m_highlighted; }
    // The colour of the i-th curve, and the pen of a curve (bold: the highlighted one).
    static QColor CurveColor(int i);
    static QPen CurvePen(const QColor& color, bool bold);

signals:
    // A click near point of curve (both from 0) at (x, y).
    void PointClicked(int curve, int point, double x, double y);

public:
    // Saves the chart; the format follows the extension (".pdf" a PDF page, anything else PNG).
    bool SaveAs(const std::string& path);
    // Asks for a file and saves; filterIndex 1 PNG, 2 PDF.
    bool ExportWithPrompt(int filterIndex);

    // The chart's menu (export commands); derived charts add their own commands.
    virtual QMenu* CreateContextMenu();

    static constexpr const char* kExportFilter = "PNG Picture (*.png)|*.png|PDF Document (*.pdf)|*.pdf||";

    // The least size at which the title (on up to two lines), the legend, both axes with their
    // tick labels and the whole label of each axis (the vertical one drawn upright along the plot)
    // fit around a plot still worth reading: the panes and windows around the chart never make it
    // smaller, so nothing of it is cut.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // A change of language shows the title in the new one.
    void changeEvent(QEvent* event) override;

private:
    // Shows the title; a line wider than the chart wraps onto a second line, cut short with an
    // ellipsis only where that is still too wide.
    void FitTitle();
    // Lays the legend's names out in as many columns as the chart's width holds.
    void FitLegend();
    // The least width at which every line of the title shows whole on at most two lines.
    int TitleLeastWidth() const;

    QSize m_fitSize;          // the size minimumSizeHint gave the layouts last
    int m_decoration = 0;     // the height the last layout left outside the plot (title, legend, axes)
    int m_sideDecoration = 0; // the width it left beside the plot (vertical axis, margins)
    QCPTextElement* m_title = nullptr;
    QString m_titleText; // whole, as set
    QString m_curveName; // the highlighted curve, named under the title while no legend shows
    int m_highlighted = -1;
    void SetReducedData(QCPGraph* curve, const QVector<double>& x, const QVector<double>& y, std::vector<int> source);
    std::vector<std::vector<int>> m_pointIndex; // per curve: source index of each drawn point (empty: all drawn)
};
