#include "views/ui/SwAxisTableFrame.h"

#include "app/TALVOProject.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "platform/ui/ZuTableSelectView.h"
#include "platform/win/ObjectLifetime.h"
#include "views/ui/DataViewOpeners.h"
#include "views/ui/SwAxisGraphView.h"
#include "views/ui/SwAxisTableDoc.h"
#include "views/ui/SwAxisTableView.h"

#include <QComboBox>
#include "platform/ui/ZuControlBar.h"
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>

CSwAxisTableFrame::CSwAxisTableFrame(std::unique_ptr<CSwAxisTableDoc> doc, QWidget* parent)
    : CZuTableDataFrame(std::move(doc), parent)
{
    CSwAxisTableDoc* d = GetSwAxisDocument();
    if (CZuRpmSelFunc* function = d->GetRpmSelFunc()) {
        function->SetThisFrameWnd(this);
        setWindowTitle(QString::fromStdString(function->GetName()));
    }
    m_functionListener = AddObjectGoingListener([this](const void* object) {
        CSwAxisTableDoc* d = GetSwAxisDocument();
        if (!d || !d->GetRpmSelFunc() || object != static_cast<const CMElement*>(d->GetRpmSelFunc()))
            return;
        d->FunctionGoing();
        QMetaObject::invokeMethod(
            this, [this] { CloseFrame(); }, Qt::QueuedConnection);
    });

    m_select = new CZuTableSelectView(d, this);
    m_table = new CSwAxisTableView(d, this);
    m_graph = new CSwAxisGraphView(d, this);
    SetPanes(m_select, m_table, m_graph, 100, 200);

    m_bar = new CZuControlBar(this);
    m_bar->setObjectName(QStringLiteral("DialogBar%1").arg(IDD_BAR));
    m_axis = new QComboBox(m_bar);
    // Its choices are retranslated in place when the language changes: the box follows their width.
    m_axis->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_label = new QLabel(m_bar);
    m_first = new QComboBox(m_bar);
    m_first->setMinimumContentsLength(8);
    auto* options = new QPushButton(tr("Options..."), m_bar);
    m_bar->AddWidget(new QLabel(tr("Axis :"), m_bar));
    m_bar->AddWidget(m_axis);
    m_bar->AddSeparator();
    m_bar->AddWidget(m_label);
    m_bar->AddWidget(m_first);
    m_bar->AddSeparator();
    m_bar->AddWidget(options);
    AddDialogBar(m_bar);
    connect(m_axis, &QComboBox::activated, this, &CSwAxisTableFrame::OnAxisSelected);
    connect(m_first, &QComboBox::activated, this, &CSwAxisTableFrame::OnFirstIndexSelected);
    connect(options, &QPushButton::clicked, this, [this] { GetSwAxisDocument()->OnOptions(); });
    d->AddView(this);

    SetupDialogBar();
    m_graph->setVisible(d->Core().IsCharted());
    d->UpdateAllViews(nullptr, -1);
}

CSwAxisTableFrame::~CSwAxisTableFrame()
{
    RemoveObjectGoingListener(m_functionListener);
    if (CSwAxisTableDoc* d = GetSwAxisDocument()) {
        d->RemoveView(this);
        if (CZuRpmSelFunc* function = d->GetRpmSelFunc())
            function->SetThisFrameWnd(nullptr);
    }
}

CSwAxisTableDoc* CSwAxisTableFrame::GetSwAxisDocument() const
{
    return static_cast<CSwAxisTableDoc*>(GetDocument());
}

CSwAxisTableFrame* CSwAxisTableFrame::Open(QMdiArea* area, CZuRpmSelFunc* function, CTALVOProject* project)
{
    if (!function)
        return nullptr;
    if (auto* open = dynamic_cast<CSwAxisTableFrame*>(FindFrame(function))) {
        open->Activate();
        return open;
    }
    if (!project)
        project = FindProjectContainer(function);
    auto doc = std::make_unique<CSwAxisTableDoc>(project);
    doc->SetRpmSelFunc(function);
    if (project)
        doc->SetHSEAOptions(&project->GetHSEAOptions());
    auto* frame = new CSwAxisTableFrame(std::move(doc));
    Show(frame, area);
    return frame;
}

void CSwAxisTableFrame::SetupDialogBar()
{
    CSwAxisTableCore& core = GetSwAxisDocument()->Core();
    m_axis->clear();
    for (const std::string& choice : core.GetAxisChoices())
        m_axis->addItem(QString::fromStdString(choice));
    m_axis->setCurrentIndex(core.GetViewType());
    FillFirstIndexCombo();
}

void CSwAxisTableFrame::FillFirstIndexCombo()
{
    CSwAxisTableCore& core = GetSwAxisDocument()->Core();
    m_label->setText(QString::fromStdString(core.GetFirstIndexLabel()));
    m_select->ListModel()->SetTitle(QString::fromStdString(core.GetFirstIndexLabel()).remove(':').trimmed());
    m_first->clear();
    for (const auto& [text, i] : core.GetFirstIndexChoices())
        m_first->addItem(QString::fromStdString(text), i);
    if (m_first->count() > 0) {
        m_first->setCurrentIndex(0);
        GetSwAxisDocument()->SetCurSel1stIndex(0);
    }
}

void CSwAxisTableFrame::OnAxisSelected(int item)
{
    CSwAxisTableDoc* d = GetSwAxisDocument();
    if (item < 0)
        return;
    d->SetViewType(item);
    FillFirstIndexCombo();
    d->UpdateAllViews(nullptr, -1);
}

void CSwAxisTableFrame::OnFirstIndexSelected(int item)
{
    CSwAxisTableDoc* d = GetSwAxisDocument();
    if (item < 0)
        return;
    d->SetCurSel1stIndex(m_first->itemData(item).toInt());
    d->UpdateAllViews(nullptr, -1);
}

void CSwAxisTableFrame::OnUpdate(IZuTableDataView*, int)
{
    const int i = m_first->findData(GetSwAxisDocument()->GetCurrentSubset());
    if (i >= 0 && i != m_first->currentIndex())
        m_first->setCurrentIndex(i);
}
