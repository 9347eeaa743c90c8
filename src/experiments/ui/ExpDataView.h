#pragma once
// The lower right-hand view of the measurement window: one channel record as a chart. The pulse
// channel of the RPM signal data shows its pulses or the RPM over time; a measured channel its
// time signal or its spectrum at the RPM chosen in the frame, as a line spectrum on log-log axes
// or as a band spectrum. Long records are thinned to about two points per millisecond-block.
#include <QWidget>

#include <cstdint>
#include <vector>

class CExpDoc;
class CExpData;
class CMElement;
class CZuChart;

class CExpDataView : public QWidget
{
    Q_OBJECT

public:
    enum Plot
    {
        plotNone,
        plotPulse,
        plotIntervalRpm,
        plotAllRpm,
        plotTime,
        plotLineSpectrum,
        plotBandSpectrum,
    };

    explicit CExpDataView(CExpDoc* doc, QWidget* parent = nullptr);

    // The step of the thinned plot: n / fs x 0.5 truncated, at least 1.
    static int DecimationStep(int n, float fs);

    void OnUpdate(QObject* sender, int hint, CMElement* element);
    // Private message 0x2413: the RPM becomes the configuration's low RPM + index x step.
    intptr_t OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    void SetRpm(double rpm) { m_rpm = rpm; }
    double GetRpm() const { return m_rpm; }

    CMElement* GetElement() const { return m_element; }
    int GetHint() const { return m_hint; }
    // What is drawn; plotNone when the chart is gone.
    Plot GetPlot() const { return m_plot; }
    bool HasChart() const;
    CZuChart* Chart() const { return m_chart; }
    // The drawn points.
    const std::vector<double>& PointsX() const { return m_x; }
    const std::vector<double>& PointsY() const { return m_y; }

    void Redraw();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void RemoveChart();
    bool PlotRecord(CExpData& data);
    void PlotSamples(CExpData& data, const char* suffix, const QString& yLabel);
    void PlotIntervals(CExpData& data, bool gridIntervals);
    bool PlotSpectrum(CExpData& data);
    void Finish(CExpData& data);

    CExpDoc* m_doc;
    CZuChart* m_chart = nullptr;
    CMElement* m_element = nullptr;
    int m_hint = -1;
    double m_rpm = 0.0;
    Plot m_plot = plotNone;
    std::vector<double> m_x;
    std::vector<double> m_y;
};
