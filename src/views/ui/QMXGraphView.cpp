#include "views/ui/QMXGraphView.h"

#include "app/TALVOProject.h"
#include "common/Quantity.h"
#include "platform/elements/ZuTableData.h"
#include "platform/win/StringTable.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "views/ui/QMXDataCore.h"

#include <QEvent>

#include <cmath>

CQMXGraphView::CQMXGraphView(CZuTableDataDoc* doc, CQMXDataCore* core, QWidget* parent)
    : CZuChart(parent), m_doc(doc), m_core(core)
{
    // No fixed least size: the chart asks for what its title, labels and legend need
    // (minimumSizeHint), which a fixed one would override.
    m_doc->AddView(this);
}

CQMXGraphView::~CQMXGraphView()
{
    m_doc->RemoveView(this);
}

void CQMXGraphView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && m_setTexts)
        m_setTexts();
    CZuChart::changeEvent(event);
}

void CQMXGraphView::PlotCurves(const std::vector<Series>& curves, CZuTableData* data, bool rpmAcross,
                               const std::string& label)
{
    ClearChart();
    m_maxY = -FLT_MAX;
    m_minY = FLT_MAX;
    m_maxX = -FLT_MAX;
    m_minX = FLT_MAX;
    for (const Series& c : curves) {
        if (!c.source.empty()) {
            m_maxX = std::max(m_maxX, c.maxX);
            m_minX = std::min(m_minX, c.minX);
            m_maxY = std::max(m_maxY, c.maxY);
            m_minY = std::min(m_minY, c.minY);
            AddReducedCurve(c.name, c.x, c.y, c.source);
            continue;
        }
        for (double x : c.x) {
            m_maxX = std::max(m_maxX, x);
            m_minX = std::min(m_minX, x);
        }
        for (double y : c.y)
            if (y > 0.0 && std::isfinite(y)) {
                m_maxY = std::max(m_maxY, y);
                m_minY = std::min(m_minY, y);
            }
        AddCurve(c.name, c.x, c.y);
    }
    UpdateLegend();

    if (rpmAcross) {
        xAxis->setLabel(QStringLiteral("RPM"));
        xAxis->rescale(true);
    } else {
        SetLogAxisOver(xAxis, m_minX, m_maxX);
        xAxis->setLabel(QStringLiteral("Freq. [Hz]"));
    }
    // The curves are the table's numbers, which are levels or linear values as the project that
    // owns the data shows them (linear where no project owns it): the axis says the same, not what
    // the window's own project would show.
    CTALVOProject* project = m_core->GetProjectContainer();
    const bool inDb = data ? SpectrumShowInDB(data) != 0 : m_core->IsShowDataInDB();
    const int aWeighted = data ? SpectrumAWeighting(data) : (m_core->IsAWeighting() ? 1 : 0);
    const int structure = data ? SpectrumIsStructure(data, label) : (project ? project->IsStructure(label) : 0);
    const int type = data ? data->GetType() : -1;
    if (!inDb && type != ElementType::VibrationLevel && type != ElementType::Spl) {
        SetLogAxisOver(yAxis, m_minY, m_maxY);
    } else {
        FitLinearAxis(yAxis);
    }
    // Named with its quantity and unit, as the grid's heading names it, in the language loaded
    // (again after a change of language). Kinds without a unit of their own: levels are in dB,
    // anything else plain values.
    const std::string quantity = GetQuantityName(data, structure);
    const std::string name = data ? data->GetName() : label;
    const bool level = IsLevelType(type);
    const std::string unit = GetQuantityAxisLabel(data, inDb ? 1 : 0, structure, aWeighted);
    m_setTexts = [this, quantity, unit, name, label, level] {
        QString yLabel;
        if (unit.empty())
            yLabel = level ? QStringLiteral("Level [dB]") : QStringLiteral("Value");
        else if (quantity.empty())
            yLabel = QString::fromStdString(TranslateText(unit));
        else
            yLabel = QString::fromStdString(TranslateText(quantity) + " [" + TranslateText(unit) + "]");
        yAxis->setLabel(yLabel);
        if (quantity.empty())
            SetTitle(QString::fromStdString(name));
        else
            SetTitle(QString::fromStdString(TranslateText(quantity) + " [" + label + "]"));
    };
    m_setTexts();
    // Drawn once the window shows its final size.
    replot(QCustomPlot::rpQueuedReplot);
}
