#include "experiments/ui/ExpDataView.h"

#include "common/Quantity.h"
#include "experiments/DAQConfig.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpOptions.h"
#include "experiments/ExpProject.h"
#include "experiments/RPMSignalData.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "platform/elements/MElement.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/Messages.h"
#include "spectral/BandInfoManager.h"

#include <QVBoxLayout>

#include <cfloat>
#include <cmath>

namespace {
QString UnitText(const CExpData& data)
{
    tagSENSORINFO info;
    if (!data.GetSensorInfo(info))
        return QString();
    return QString::fromStdString(GetQuantityUnitName(info.ChannelInfo.DataType, info.ChannelInfo.Unit));
}

CExpFrame* FrameOf(const CExpDoc* doc)
{
    return doc ? doc->GetFrame() : nullptr;
}
} // namespace

CExpDataView::CExpDataView(CExpDoc* doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName("ExpDataView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(p);
    setMinimumSize(200, 150);
    if (m_doc)
        connect(m_doc, &CExpDoc::Update, this, &CExpDataView::OnUpdate);
}

int CExpDataView::DecimationStep(int n, float fs)
{
    if (fs <= 0.0f || n <= 0)
        return 1;
    const int d = static_cast<int>(static_cast<double>(n) / fs * 0.5);
    return d < 1 ? 1 : d;
}

void CExpDataView::OnUpdate(QObject* sender, int hint, CMElement* element)
{
    if (sender == this)
        return;
    if (element) {
        m_element = element;
        if (hint >= 0)
            m_hint = hint;
    }
    // A deleted element is never kept: the document hints with what is left.
    if (m_element && m_doc && m_doc->GetProject() && m_element != m_doc->GetProject() &&
        !m_doc->GetProject()->IsAncestorOf(m_element))
        m_element = nullptr;
    Redraw();
}

intptr_t CExpDataView::OnMessage(uint32_t msg, uintptr_t wParam, intptr_t)
{
    if (msg != WM_ZU_SET_RPM_INDEX)
        return 0;
    const CExpProject* project = m_doc ? m_doc->GetProject() : nullptr;
    if (project && project->GetDAQConfig())
        m_rpm = project->GetRpmLow() + static_cast<int>(wParam) * project->GetRpmStep();
    return 0;
}

bool CExpDataView::HasChart() const
{
    return m_chart && m_plot != plotNone;
}

void CExpDataView::RemoveChart()
{
    m_plot = plotNone;
    m_x.clear();
    m_y.clear();
    if (m_chart) {
        delete m_chart;
        m_chart = nullptr;
    }
}

void CExpDataView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_chart)
        m_chart->setGeometry(rect());
}

void CExpDataView::Redraw()
{
    auto* data = ElementCast<CExpData>(m_element);
    if (!data) {
        RemoveChart();
        return;
    }
    if (!m_chart) {
        m_chart = new CZuChart(this);
        m_chart->setObjectName("DataChart");
        layout()->addWidget(m_chart);
        m_chart->show();
    }
    m_chart->ClearChart();
    m_x.clear();
    m_y.clear();
    if (!PlotRecord(*data)) {
        RemoveChart();
        return;
    }
    m_chart->replot();
}

bool CExpDataView::PlotRecord(CExpData& data)
{
    CExpDataSet* set = data.GetDataSet();
    CMElement* owner = set ? set->GetParent() : nullptr;
    const CExpFrame* frame = FrameOf(m_doc);
    if (ElementCast<CRPMSignalData>(owner)) {
        const int mode = frame ? frame->GetSignalPlotMode() : 3;
        if (mode == 3) {
            m_plot = plotPulse;
            PlotSamples(data, " (Pulse)", "Voltage  mV");
        } else {
            m_plot = mode == 4 ? plotIntervalRpm : plotAllRpm;
            PlotIntervals(data, mode == 4);
        }
    } else if (ElementCast<CExcitation>(owner)) {
        const int mode = frame ? frame->GetChannelPlotMode() : 1;
        if (mode == 1) {
            m_plot = plotTime;
            PlotSamples(data, " (Time Domain)", UnitText(data));
        } else if (!PlotSpectrum(data)) {
            // No block at this RPM: the chart stays, empty.
            m_chart->SetTitle(QString::fromStdString(data.GetName()) + " (Freq. Domain)");
            return true;
        }
    } else {
        return false;
    }
    Finish(data);
    return true;
}

void CExpDataView::PlotSamples(CExpData& data, const char* suffix, const QString& yLabel)
{
    const auto& x = data.GetSamples();
    const int n = static_cast<int>(x.size());
    const float fs = data.GetSamplingFrequency();
    const int d = DecimationStep(n, fs);
    for (int i = 0; n > 0 && i <= (n - 1) / d * d; i += d) {
        m_x.push_back(fs > 0.0f ? i * 1000.0 / fs : i);
        m_y.push_back(x[static_cast<size_t>(i)]);
    }
    QCPGraph* graph = m_chart->addGraph();
    graph->setData(QVector<double>(m_x.begin(), m_x.end()), QVector<double>(m_y.begin(), m_y.end()), true);
    m_chart->SetTitle(QString::fromStdString(data.GetName()) + suffix);
    m_chart->xAxis->setLabel("Time[ms]");
    m_chart->yAxis->setLabel(yLabel);
    m_chart->rescaleAxes();
}

void CExpDataView::PlotIntervals(CExpData& data, bool gridIntervals)
{
    const float fs = data.GetSamplingFrequency();
    const CExpProject* project = data.GetExpProject();
    auto add = [&](double end, double rpm) {
        m_x.push_back(fs > 0.0f ? end * 1000.0 / fs : end);
        m_y.push_back(rpm);
    };
    if (gridIntervals && project && project->GetMode() == 0) {
        for (const tagIRPMINFO& r : data.GetRpmInfoList())
            add(r.nStart + r.nLength, r.nRpm);
    } else if (gridIntervals) {
        CRPMInfoListInt list;
        data.DetectRpmInfoInt(list);
        for (const tagIRPMINFO& r : list)
            add(r.nStart + r.nLength, r.nRpm);
    } else {
        CRPMInfoListFloat list;
        data.DetectRpmInfoFloat(list);
        for (const tagFRPMINFO& r : list)
            add(r.dStart + r.nLength, r.dRpm);
    }
    QCPGraph* graph = m_chart->addGraph();
    graph->setData(QVector<double>(m_x.begin(), m_x.end()), QVector<double>(m_y.begin(), m_y.end()), true);
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 4));
    m_chart->SetTitle(QString::fromStdString(data.GetName()) + " (RPM)");
    m_chart->xAxis->setLabel("Time[ms]");
    m_chart->yAxis->setLabel("RPM");
    m_chart->rescaleAxes();
}

bool CExpDataView::PlotSpectrum(CExpData& data)
{
    if (!data.CalcSpectrum(m_rpm))
        return false;
    const int lines = data.GetLineCount();
    if (lines <= 1)
        return false;
    const float fs = data.GetSamplingFrequency();
    const double df = fs / lines * 0.5;
    double smallest = 1.0e10;
    double largest = 0.0;
    const CExpOptions* options = m_doc ? &m_doc->GetExpOptions() : nullptr;
    const bool lineSpectrum = !options || options->GetGraphBandType() == 0;
    double xLow = 1.0;
    double xHigh = std::pow(10.0, std::ceil(std::log10(lines * df)));
    if (lineSpectrum) {
        m_plot = plotLineSpectrum;
        for (int i = 0; i < lines - 1; ++i) {
            const double y = data.GetLineMagnitude(i + 1);
            m_x.push_back((i + 1) * df);
            m_y.push_back(y);
            if (y > 0.0) {
                smallest = std::min(smallest, y);
                largest = std::max(largest, y);
            }
        }
    } else {
        m_plot = plotBandSpectrum;
        const CExpProject* project = data.GetExpProject();
        const COctaveManager* bands = project ? project->GetFreqBandInfo() : nullptr;
        if (!bands)
            return false;
        CBandInfoManager manager;
        manager.SetOctaveManager(bands);
        manager.SetDf(df);
        manager.SetLineCount(lines);
        manager.CreateBandInfoList();
        const CBandInfoList& list = manager.GetBandList();
        const float limit = project->GetDAQConfig() ? project->GetDAQConfig()->GetMaxFreq() : FLT_MAX;
        for (const tagBandInfo& band : list) {
            const float y = data.GetBandMagnitude(band.nFirstLine, band.nLineCount);
            if (y <= CExpData::kNoMagnitude || band.dCentre > limit)
                continue;
            m_x.push_back(band.dCentre);
            m_y.push_back(y);
            smallest = std::min<double>(smallest, y);
            largest = std::max<double>(largest, y);
        }
        if (!list.empty()) {
            xLow = std::pow(10.0, std::floor(std::log10(list.front().dCentre)));
            xHigh = std::pow(10.0, std::ceil(std::log10(list.back().dCentre)));
        }
    }
    QCPGraph* graph = m_chart->addGraph();
    graph->setData(QVector<double>(m_x.begin(), m_x.end()), QVector<double>(m_y.begin(), m_y.end()), true);
    if (!lineSpectrum) {
        graph->setLineStyle(QCPGraph::lsStepCenter);
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, 4));
    }
    CZuChart::SetLogAxis(m_chart->xAxis, xLow, xHigh);
    if (largest > 0.0 && smallest > 0.0 && smallest <= largest)
        CZuChart::SetLogAxis(m_chart->yAxis, std::pow(10.0, std::floor(std::log10(smallest))),
                             std::pow(10.0, std::ceil(std::log10(largest))));
    m_chart->SetTitle(QString::fromStdString(data.GetName()) + " (Freq. Domain)");
    m_chart->xAxis->setLabel("Freq. [Hz]");
    m_chart->yAxis->setLabel(UnitText(data));
    return true;
}

void CExpDataView::Finish(CExpData& data)
{
    if (QCPGraph* graph = m_chart->graph(0))
        graph->setPen(QPen(QColor(0x00, 0x00, 0xC0)));
    const CExpDataSet* set = data.GetDataSet();
    if (set)
        m_chart->SetTitle(m_chart->Title(), QString::fromStdString(set->GetName()));
}
