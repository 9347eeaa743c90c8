#include "platform/ui/ZuTableDataFrame.h"

#include "platform/ui/ZuControlBar.h"

#include "platform/elements/ZuTableData.h"
#include "platform/ui/ZuTableDataDoc.h"
#include "platform/ui/ZuTableGrid.h"
#include "platform/win/ObjectLifetime.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QResizeEvent>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

CZuTableDataFrame::CZuTableDataFrame(std::unique_ptr<CZuTableDataDoc> doc, QWidget* parent)
    : QWidget(parent), m_doc(std::move(doc)), m_layout(new QVBoxLayout(this)), m_splitter(new QSplitter(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(2);
    m_splitter->setOrientation(Qt::Horizontal);
    m_splitter->setChildrenCollapsible(true);
    m_layout->addWidget(m_splitter, 1);
    if (CZuTableData* data = m_doc ? m_doc->GetData() : nullptr) {
        data->SetThisFrameWnd(this);
        setWindowTitle(QString::fromStdString(data->GetName()));
    }
    // The element goes: nothing may reach it any more, and the window closes.
    m_listener = AddObjectGoingListener([this](const void* object) {
        if (!m_doc || !m_doc->GetData() || object != static_cast<const CMElement*>(m_doc->GetData()))
            return;
        m_doc->DataGoing();
        QMetaObject::invokeMethod(
            this, [this] { CloseFrame(); }, Qt::QueuedConnection);
    });
}

CZuTableDataFrame::~CZuTableDataFrame()
{
    RemoveObjectGoingListener(m_listener);
    // The views know the document: they go first.
    delete m_splitter;
    m_splitter = nullptr;
    m_doc.reset();
}

CZuTableDataFrame* CZuTableDataFrame::FindFrame(CZuTableData* data)
{
    return data ? dynamic_cast<CZuTableDataFrame*>(data->GetThisFrameWnd()) : nullptr;
}

void CZuTableDataFrame::Show(CZuTableDataFrame* frame, QMdiArea* area, QSize size)
{
    if (!frame)
        return;
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(frame);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(size);
        sub->show();
        area->setActiveSubWindow(sub);
    } else {
        frame->resize(size);
        frame->show();
    }
}

void CZuTableDataFrame::Activate()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (QMdiArea* area = sub->mdiArea())
            area->setActiveSubWindow(sub);
        sub->showNormal();
        return;
    }
    showNormal();
    raise();
    activateWindow();
}

void CZuTableDataFrame::CloseFrame()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void CZuTableDataFrame::SetPanes(QWidget* select, QWidget* grid, QWidget* chart, int selectWidth, int gridWidth)
{
    QWidget* panes[3] = {select, grid, chart};
    for (int i = 0; i < 3; ++i) {
        m_panes[i] = panes[i];
        if (panes[i])
            m_splitter->addWidget(panes[i]);
    }
    m_listWidth = selectWidth;
    m_gridWidth = gridWidth;
    const int rest = std::max(200, width() - selectWidth - gridWidth);
    m_splitter->setSizes({selectWidth, gridWidth, rest});
    for (int i = 0; i < m_splitter->count(); ++i)
        m_splitter->setStretchFactor(i, i == m_splitter->count() - 1 ? 1 : 0);
}

QSize CZuTableDataFrame::sizeHint() const
{
    return QWidget::sizeHint().expandedTo(QSize(960, 560));
}

int CZuTableDataFrame::ChartLeastWidth() const
{
    QWidget* chart = m_panes[2];
    return chart ? std::max({160, chart->minimumWidth(), chart->minimumSizeHint().width()}) : 0;
}

void CZuTableDataFrame::UpdateMinimumSize()
{
    // The bars wrap onto more rows the narrower the window, so the least height holds them as
    // they wrap at the least width, above the panes' own least height: no pane is pushed past the
    // window's bottom edge at any width the window can take.
    const QSize panes = m_splitter->minimumSizeHint();
    const QMargins margins = m_layout->contentsMargins();
    const int width = std::max(m_layout->minimumSize().width(), panes.width() + margins.left() + margins.right());
    int height = panes.height() + margins.top() + margins.bottom();
    const int inside = width - margins.left() - margins.right();
    for (int i = 0; i < m_layout->count(); ++i) {
        QWidget* bar = m_layout->itemAt(i)->widget();
        if (!bar || bar == m_splitter || bar->isHidden())
            continue;
        height += m_layout->spacing() +
                  (bar->hasHeightForWidth() ? bar->heightForWidth(inside) : bar->minimumSizeHint().height());
    }
    if (minimumSize() != QSize(width, height))
        setMinimumSize(width, height);
}

bool CZuTableDataFrame::event(QEvent* event)
{
    const bool done = QWidget::event(event);
    // A pane or bar asks for new room (a chart's new title, a translated bar): the window's least
    // size follows.
    if (event->type() == QEvent::LayoutRequest)
        UpdateMinimumSize();
    return done;
}

void CZuTableDataFrame::FitGridPane()
{
    if (m_splitter->count() < 3)
        return;
    auto* grid = qobject_cast<CZuTableGrid*>(m_panes[1]);
    const int list = IsListPaneShown() ? m_listWidth : 0;
    int wanted = std::max(m_gridWidth, grid ? grid->PreferredWidth() : 0);
    const int total = m_splitter->width() - list;
    // Without a chart (a matrix, a band's contributions) the grid takes the chart's room and keeps
    // it as the window grows; the list of bands stays as narrow as it was made.
    const bool chart = m_panes[2] && !m_panes[2]->isHidden();
    m_splitter->setStretchFactor(1, chart ? 0 : 1);
    if (!chart) {
        m_splitter->setSizes({list, std::max(wanted, total), 0});
        return;
    }
    // The chart keeps a readable width, and at least what its title and labels need.
    wanted = std::min(wanted, std::max(m_gridWidth, total - std::max(320, ChartLeastWidth())));
    m_splitter->setSizes({list, wanted, std::max(0, total - wanted)});
}

void CZuTableDataFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_laidOut || m_splitter->count() < 3)
        return;
    auto* grid = qobject_cast<CZuTableGrid*>(m_panes[1]);
    QList<int> sizes = m_splitter->sizes();
    if (!grid || sizes.size() < 3)
        return;
    const int readableChart = ChartLeastWidth();
    const int needed = grid->PreferredWidth(1);
    const int take = std::min(needed - sizes[1], sizes[2] - readableChart);
    if (take <= 0)
        return;
    sizes[1] += take;
    sizes[2] -= take;
    m_splitter->setSizes(sizes);
}

void CZuTableDataFrame::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_laidOut) {
        m_laidOut = true;
        UpdateMinimumSize();
        layout()->activate();
        FitGridPane();
    }
}

void CZuTableDataFrame::AddDialogBar(CZuControlBar* bar)
{
    if (!bar)
        return;
    bar->setParent(this);
    m_layout->insertWidget(m_layout->count() - 1, bar);
}

void CZuTableDataFrame::ShowListPane(bool show)
{
    QWidget* list = m_panes[0];
    if (!list)
        return;
    list->setVisible(show);
    if (show) {
        QList<int> sizes = m_splitter->sizes();
        if (!sizes.isEmpty() && sizes[0] == 0) {
            sizes[0] = m_listWidth;
            m_splitter->setSizes(sizes);
        }
    }
}

bool CZuTableDataFrame::IsListPaneShown() const
{
    return m_panes[0] && !m_panes[0]->isHidden();
}

intptr_t CZuTableDataFrame::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return OnMessage(msg, wParam, lParam);
}

void CZuTableDataFrame::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    QMetaObject::invokeMethod(
        this, [this, msg, wParam, lParam] { OnMessage(msg, wParam, lParam); }, Qt::QueuedConnection);
}

intptr_t CZuTableDataFrame::OnMessage(uint32_t, uintptr_t, intptr_t)
{
    return 0;
}
