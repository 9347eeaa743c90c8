#include "platform/ui/ZuChart.h"

#include "platform/win/PromptService.h"

#include <QContextMenuEvent>
#include <QMenu>

#include <cmath>

CZuChart::CZuChart(QWidget* parent) : QCustomPlot(parent)
{
    setMinimumSize(160, 120);
    setBackground(QBrush(Qt::white));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setInteractions(QCP::iSelectPlottables);
    connect(this, &QCustomPlot::plottableClick, this,
            [this](QCPAbstractPlottable* plottable, int dataIndex, QMouseEvent*) {
                auto* curve = qobject_cast<QCPGraph*>(plottable);
                if (!curve || dataIndex < 0 || dataIndex >= curve->dataCount())
                    return;
                for (int i = 0; i < graphCount(); ++i)
                    if (graph(i) == curve) {
                        const auto point = curve->data()->at(dataIndex);
                        emit PointClicked(i, dataIndex, point->key, point->value);
                        return;
                    }
            });
}

bool CZuChart::DecadeRange(double smallest, double largest, double& low, double& high)
{
    if (!(smallest > 0.0) || !(smallest < largest) || !std::isfinite(smallest) || !std::isfinite(largest))
        return false;
    low = std::pow(10.0, std::floor(std::log10(smallest)));
    high = std::pow(10.0, std::ceil(std::log10(largest)));
    return true;
}

void CZuChart::SetLogAxisOver(QCPAxis* axis, double smallest, double largest)
{
    double low = 0.0, high = 0.0;
    if (DecadeRange(smallest, largest, low, high)) {
        SetLogAxis(axis, low, high);
        return;
    }
    SetLogAxis(axis, 0.1, 10.0);
    axis->rescale(true);
}

QColor CZuChart::CurveColor(int i)
{
    static const QColor kColors[] = {
        QColor(31, 119, 180), QColor(214, 39, 40),   QColor(44, 160, 44),   QColor(255, 127, 14), QColor(148, 103, 189),
        QColor(140, 86, 75),  QColor(227, 119, 194), QColor(127, 127, 127), QColor(188, 189, 34), QColor(23, 190, 207),
    };
    constexpr int n = static_cast<int>(sizeof(kColors) / sizeof(kColors[0]));
    return kColors[((i % n) + n) % n];
}

QCPGraph* CZuChart::AddCurve(const QString& name, const QVector<double>& x, const QVector<double>& y)
{
    QCPGraph* curve = addGraph();
    curve->setName(name);
    curve->setPen(QPen(CurveColor(graphCount() - 1), 1.5));
    curve->setData(x, y, true);
    curve->setSelectable(QCP::stSingleData);
    return curve;
}

void CZuChart::HighlightCurve(int i)
{
    m_highlighted = (i >= 0 && i < graphCount()) ? i : -1;
    for (int g = 0; g < graphCount(); ++g) {
        QColor color = CurveColor(g);
        double width = 1.5;
        if (m_highlighted >= 0) {
            if (g == m_highlighted) {
                width = 3.0;
            } else {
                color.setAlpha(90);
                width = 1.0;
            }
        }
        graph(g)->setPen(QPen(color, width));
    }
    replot(QCustomPlot::rpQueuedReplot);
}

void CZuChart::SetTitle(const QString& title, const QString& subtitle)
{
    const QString text = subtitle.isEmpty() ? title : title + "\n" + subtitle;
    if (text.isEmpty()) {
        if (m_title) {
            plotLayout()->remove(m_title);
            plotLayout()->simplify();
            m_title = nullptr;
        }
        return;
    }
    if (!m_title) {
        plotLayout()->insertRow(0);
        m_title = new QCPTextElement(this, text, QFont(font().family(), 10, QFont::Bold));
        plotLayout()->addElement(0, 0, m_title);
    } else {
        m_title->setText(text);
    }
}

QString CZuChart::Title() const
{
    return m_title ? m_title->text() : QString();
}

void CZuChart::ClearChart()
{
    m_highlighted = -1;
    clearPlottables();
    clearItems();
    SetTitle(QString());
    for (QCPAxis* axis : {xAxis, yAxis}) {
        axis->setScaleType(QCPAxis::stLinear);
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
        axis->setNumberFormat("gb");
        axis->setNumberPrecision(6);
        axis->setLabel(QString());
    }
    xAxis->setTickLabels(true);
}

void CZuChart::SetLogAxis(QCPAxis* axis, double low, double high)
{
    axis->setScaleType(QCPAxis::stLogarithmic);
    axis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
    axis->setNumberFormat("eb");
    axis->setNumberPrecision(0);
    axis->setRange(low, high);
}

bool CZuChart::SaveAs(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    if (file.endsWith(".pdf", Qt::CaseInsensitive))
        return savePdf(file, width(), height());
    return savePng(file, width(), height());
}

bool CZuChart::ExportWithPrompt(int filterIndex)
{
    FileChooserOptions options;
    options.filter = kExportFilter;
    options.filterIndex = filterIndex;
    options.defaultExt = filterIndex == 2 ? "pdf" : "png";
    std::string path;
    int chosen = filterIndex;
    if (!PromptSaveFile(options, path, &chosen))
        return false;
    if (!SaveAs(path)) {
        AfxMessageBox("The chart could not be saved.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

QMenu* CZuChart::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    menu->addAction(tr("Save as PNG..."), this, [this] { ExportWithPrompt(1); });
    menu->addAction(tr("Save as PDF..."), this, [this] { ExportWithPrompt(2); });
    return menu;
}

void CZuChart::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
