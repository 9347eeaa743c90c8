#pragma once
// A chart of the program's windows: QCustomPlot with labelled axes, and a context menu that saves
// the chart as a PNG picture or a PDF page (file chosen through the prompt service).
#include <qcustomplot.h>

#include <string>

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

    // Saves the chart; the format follows the extension (".pdf" a PDF page, anything else PNG).
    bool SaveAs(const std::string& path);
    // Asks for a file and saves; filterIndex 1 PNG, 2 PDF.
    bool ExportWithPrompt(int filterIndex);

    QMenu* CreateContextMenu();

    static constexpr const char* kExportFilter = "PNG Picture (*.png)|*.png|PDF Document (*.pdf)|*.pdf||";

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QCPTextElement* m_title = nullptr;
};
