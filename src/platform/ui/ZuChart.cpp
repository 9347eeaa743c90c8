#include "platform/ui/ZuChart.h"

#include "platform/win/PromptService.h"

#include <QContextMenuEvent>
#include <QMenu>

CZuChart::CZuChart(QWidget* parent) : QCustomPlot(parent)
{
    setMinimumSize(160, 120);
    setBackground(QBrush(Qt::white));
    setContextMenuPolicy(Qt::DefaultContextMenu);
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
