#pragma once
// A stacked chart of the result viewers: one band per curve between the running sum before it and
// the one after it, over the points 1..n of an axis labelled by their x values. In cumulative
// mode the running sums are also drawn as lines, one of them marked.
#include "platform/ui/ZuChart.h"
#include "platform/win/WinTypes.h"

#include <string>
#include <vector>

class CStackedChart : public CZuChart
{
    Q_OBJECT

public:
    explicit CStackedChart(QWidget* parent = nullptr);

    // cells[contributor][point], drawn as stacked bands; in cumulative mode the running sums over
    // contributors 0..c follow as curves n + c, the one of contributor markedCurve (-1: none)
    // marked.
    void Draw(const std::vector<double>& x, const std::vector<std::vector<double>>& cells,
              const std::vector<std::string>& names, const std::vector<COLORREF>& colors, bool cumulative,
              int markedCurve);
    // The data position of a pixel of the widget: x 0-based along the points (fractional), y the
    // value; false outside the plot area.
    bool DataPosition(const QPoint& pixel, double& x, double& y) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Labels of the points, as many as fit the width side by side.
    void UpdateTicks();

    std::vector<double> m_x;
};
