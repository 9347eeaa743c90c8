#include "experiments/ui/ExpDiagView.h"

#include "common/Quantity.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/ui/ZuChart.h"

#include <QVBoxLayout>

#include <cmath>

CExpDiagView::CExpDiagView(CExpDoc* doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName("ExpDiagView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(p);
    setMinimumSize(200, 120);
    if (m_doc)
        connect(m_doc, &CExpDoc::Update, this, &CExpDiagView::OnUpdate);
}

void CExpDiagView::OnUpdate(QObject* sender, int, CMElement* element)
{
    if (sender == this)
        return;
    if (element) {
        // A channel stands for its data set.
        if (auto* data = ElementCast<CExpData>(element))
            m_element = data->GetParent();
        else
            m_element = element;
    }
    if (m_element && m_doc && m_doc->GetProject() && m_element != m_doc->GetProject() &&
        !m_doc->GetProject()->IsAncestorOf(m_element))
        m_element = nullptr;
    Redraw();
}

void CExpDiagView::RemoveChart()
{
    m_values.clear();
    m_labels.clear();
    m_low = m_high = 0.0;
    delete m_chart;
    m_chart = nullptr;
}

QString CExpDiagView::AxisTitle() const
{
    return m_chart ? m_chart->yAxis->label() : QString();
}

void CExpDiagView::Redraw()
{
    auto* set = ElementCast<CExpDataSet>(m_element);
    auto* excitation = set ? ElementCast<CExcitation>(set->GetParent()) : nullptr;
    const CExpFrame* frame = m_doc ? m_doc->GetFrame() : nullptr;
    const int mode = frame ? frame->GetDiagMode() : 1;
    if (!excitation || mode < 1 || mode > 3) {
        RemoveChart();
        return;
    }
    if (!m_chart) {
        m_chart = new CZuChart(this);
        m_chart->setObjectName("DiagChart");
        layout()->addWidget(m_chart);
        connect(m_chart, &QCustomPlot::mousePress, this, &CExpDiagView::OnChartClick);
        m_chart->show();
    }
    m_chart->ClearChart();
    const int points = set->GetChildCount();
    m_values.assign(static_cast<size_t>(points), 0.0);
    m_labels.assign(static_cast<size_t>(points), std::string());
    std::string unit;
    double smallest = 0.0;
    double largest = 0.0;
    for (int p = 0; p < points; ++p) {
        CExpData* data = set->FindByLocalPoint(p);
        if (!data)
            continue;
        tagSENSORINFO info;
        if (data->GetSensorInfo(info) && unit.empty())
            unit = GetQuantityUnitName(info.ChannelInfo.DataType, info.ChannelInfo.Unit);
        double v = 0.0;
        if (mode == 1) {
            v = data->GetMaxVoltage();
            if (v > 0.0)
                m_labels[static_cast<size_t>(p)] = Format("%5.1f", info.ChannelInfo.Scale);
        } else if (mode == 2) {
            v = data->GetPeak();
        } else {
            v = data->GetEnergy();
        }
        m_values[static_cast<size_t>(p)] = v;
        if (v > 0.0) {
            smallest = smallest == 0.0 ? v : std::min(smallest, v);
            largest = std::max(largest, v);
        }
    }
    QVector<double> keys;
    QVector<double> values;
    for (int p = 0; p < points; ++p) {
        // A dead channel has no bar on the logarithmic axis.
        if (m_values[static_cast<size_t>(p)] <= 0.0)
            continue;
        keys.push_back(p + 1);
        values.push_back(m_values[static_cast<size_t>(p)]);
    }
    auto* bars = new QCPBars(m_chart->xAxis, m_chart->yAxis);
    bars->setName(QString::fromStdString(excitation->GetName()));
    bars->setPen(QPen(QColor(0xFF, 0, 0)));
    bars->setBrush(QColor(0xFF, 0, 0));
    bars->setWidth(0.6);
    bars->setData(keys, values, true);
    if (largest > 0.0) {
        m_low = std::pow(10.0, std::floor(std::log10(smallest)));
        m_high = std::pow(10.0, std::ceil(std::log10(largest)));
        if (m_high <= m_low)
            m_high = m_low * 10.0;
        bars->setBaseValue(m_low);
        CZuChart::SetLogAxis(m_chart->yAxis, m_low, m_high);
    } else {
        m_low = m_high = 0.0;
    }
    m_chart->xAxis->setRange(0.4, points + 0.6);
    m_chart->xAxis->setLabel("Channel (local point)");
    if (mode == 1)
        m_chart->yAxis->setLabel("Max Voltage, mv");
    else if (mode == 2)
        m_chart->yAxis->setLabel(QString::fromStdString(Format("Max Value, %s", unit.c_str())));
    else
        m_chart->yAxis->setLabel(QString::fromStdString(Format("Int. Value, (%s)^2 s", unit.c_str())));
    if (mode == 1) {
        for (int p = 0; p < points; ++p) {
            const double v = m_values[static_cast<size_t>(p)];
            if (v <= 0.0 || m_labels[static_cast<size_t>(p)].empty())
                continue;
            auto* label = new QCPItemText(m_chart);
            label->position->setCoords(p + 1, v);
            label->setPositionAlignment(Qt::AlignBottom | Qt::AlignHCenter);
            label->setText(QString::fromStdString(m_labels[static_cast<size_t>(p)]));
            label->setColor(QColor(0, 0, 0x80));
        }
    }
    m_chart->SetTitle(QString::fromStdString(Format("%s, %s", excitation->GetName().c_str(), set->GetName().c_str())));
    m_chart->replot();
}

void CExpDiagView::OnChartClick(QMouseEvent* event)
{
    if (!m_chart || event->button() != Qt::LeftButton)
        return;
    const double key = m_chart->xAxis->pixelToCoord(event->pos().x());
    const int p = static_cast<int>(std::lround(key)) - 1;
    if (p >= 0 && p < static_cast<int>(m_values.size()) && m_values[static_cast<size_t>(p)] > 0.0)
        OnBarClicked(p);
}

bool CExpDiagView::OnBarClicked(int p)
{
    auto* set = ElementCast<CExpDataSet>(m_element);
    CExpData* data = set ? set->FindByLocalPoint(p) : nullptr;
    if (!data || !m_doc)
        return false;
    m_doc->UpdateAllViews(this, CExpDoc::kHintNone, data);
    return true;
}
