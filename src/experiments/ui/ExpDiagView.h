#pragma once
// The upper right-hand view of the measurement window: for one data set of an excitation, one bar
// per channel (peak voltage, peak value or the time integral of the squared signal, by the frame's
// diagnosis mode) on a logarithmic axis, so that weak, overloaded or dead channels stand out.
// Clicking a bar shows that channel in the data view.
#include <QWidget>

#include <string>
#include <vector>

class CExpDoc;
class CExpDataSet;
class CMElement;
class CZuChart;
class QMouseEvent;

class CExpDiagView : public QWidget
{
    Q_OBJECT

public:
    explicit CExpDiagView(CExpDoc* doc, QWidget* parent = nullptr);

    void OnUpdate(QObject* sender, int hint, CMElement* element);
    void Redraw();

    CMElement* GetElement() const { return m_element; }
    bool HasChart() const { return m_chart != nullptr; }
    CZuChart* Chart() const { return m_chart; }
    // The bar values by local point (0.0 for none) and their value labels.
    const std::vector<double>& Values() const { return m_values; }
    const std::vector<std::string>& Labels() const { return m_labels; }
    QString AxisTitle() const;
    // The axis range of the bars; (0, 0) when no bar is positive.
    double AxisLow() const { return m_low; }
    double AxisHigh() const { return m_high; }

    // A click on bar p (0-based): the channel of local point p is shown in the data view.
    bool OnBarClicked(int p);

private:
    void RemoveChart();
    void OnChartClick(QMouseEvent* event);

    CExpDoc* m_doc;
    CZuChart* m_chart = nullptr;
    CMElement* m_element = nullptr;
    std::vector<double> m_values;
    std::vector<std::string> m_labels;
    double m_low = 0.0;
    double m_high = 0.0;
};
