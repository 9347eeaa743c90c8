#include "views/ui/HSEADataTableFrame.h"

#include "app/TALVOProject.h"
#include "calculation/AnalysisProjectAccess.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/ui/SearchDataInMatrixDlg.h"
#include "platform/ui/SearchDataInVectorDlg.h"
#include "platform/ui/ZuTableSelectView.h"
#include "platform/win/ObjectLifetime.h"
#include "views/ui/DataViewOpeners.h"
#include "views/ui/HSEADataGraphView.h"
#include "views/ui/HSEADataTableDoc.h"
#include "views/ui/HSEADataTableView.h"

#include <QComboBox>
#include "platform/ui/ZuControlBar.h"
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>

CHSEADataTableFrame::CHSEADataTableFrame(std::unique_ptr<CHSEADataTableDoc> doc, QWidget* parent)
    : CZuTableDataFrame(std::move(doc), parent)
{
    CHSEADataTableDoc* d = GetHSEADocument();
    // The window belongs to its element, also while it shows another entry of the element's
    // RPM selector.
    if (CZuTableData* element = d->GetElement(); element && element != d->GetData()) {
        d->GetData()->SetThisFrameWnd(nullptr);
        element->SetThisFrameWnd(this);
        setWindowTitle(QString::fromStdString(element->GetName()));
    }
    m_elementListener = AddObjectGoingListener([this](const void* object) {
        CHSEADataTableDoc* d = GetHSEADocument();
        if (!d || !d->GetElement() || object != static_cast<const CMElement*>(d->GetElement()))
            return;
        d->ElementGoing();
        QMetaObject::invokeMethod(
            this, [this] { CloseFrame(); }, Qt::QueuedConnection);
    });

    m_select = new CZuTableSelectView(d, this);
    m_select->ListModel()->SetTitle(tr("Band"));
    m_table = new CHSEADataTableView(d, this);
    m_graph = new CHSEADataGraphView(d, this);
    SetPanes(m_select, m_table, m_graph, 100, 200);

    m_bar = new CZuControlBar(this);
    m_bar->setObjectName(QStringLiteral("DialogBar%1").arg(IDD_BAR));
    m_label = new QLabel(m_bar);
    m_rpm = new QComboBox(m_bar);
    m_rpm->setMinimumContentsLength(8);
    m_find = new QPushButton(tr("Find Cell..."), m_bar);
    auto* options = new QPushButton(tr("Options..."), m_bar);
    m_bar->AddWidget(m_label);
    m_bar->AddWidget(m_rpm);
    m_bar->AddSeparator();
    m_bar->AddWidget(m_find);
    m_bar->AddWidget(options);
    AddDialogBar(m_bar);
    connect(m_rpm, &QComboBox::activated, this, &CHSEADataTableFrame::OnRpmSelected);
    connect(m_find, &QPushButton::clicked, this, [this] { FindCell(); });
    connect(options, &QPushButton::clicked, this, [this] { GetHSEADocument()->OnOptions(); });

    SetupDialogBar();
    ArrangePanes();
    d->UpdateAllViews(nullptr, -1);
}

CHSEADataTableFrame::~CHSEADataTableFrame()
{
    RemoveObjectGoingListener(m_elementListener);
    CHSEADataTableDoc* d = GetHSEADocument();
    if (CZuTableData* element = d ? d->GetElement() : nullptr; element && element != d->GetData())
        element->SetThisFrameWnd(nullptr);
}

CHSEADataTableDoc* CHSEADataTableFrame::GetHSEADocument() const
{
    return static_cast<CHSEADataTableDoc*>(GetDocument());
}

CHSEADataTableFrame* CHSEADataTableFrame::Open(QMdiArea* area, CZuTableData* element, CTALVOProject* project)
{
    if (!element)
        return nullptr;
    if (auto* open = dynamic_cast<CHSEADataTableFrame*>(FindFrame(element))) {
        open->Activate();
        return open;
    }
    if (!project)
        project = FindProjectContainer(element);
    auto doc = std::make_unique<CHSEADataTableDoc>(project);
    doc->SetElement(element);
    if (project)
        doc->SetHSEAOptions(&project->GetHSEAOptions());
    const IAnalysisProjectAccess* analysis = IAnalysisProjectAccess::FindOwner(element);
    doc->SetOrderTracking(analysis && analysis->GetProjectType() == 1);
    auto* frame = new CHSEADataTableFrame(std::move(doc));
    Show(frame, area);
    return frame;
}

void CHSEADataTableFrame::SetupDialogBar()
{
    CHSEADataTableCore& core = GetHSEADocument()->Core();
    m_label->setText(QString::fromStdString(core.GetSelectorLabel()));
    m_rpm->clear();
    for (const auto& [text, i] : core.GetRpmChoices())
        m_rpm->addItem(QString::fromStdString(text), i);
    const int shown = core.GetSelectedRpm();
    if (m_rpm->count() > 0)
        m_rpm->setCurrentIndex(shown >= 0 ? m_rpm->findData(shown) : 0);
    m_rpm->setEnabled(m_rpm->count() > 0);
    m_find->setEnabled(core.GetSearchKind() != CHSEADataTableCore::SEARCH_NONE);
}

void CHSEADataTableFrame::ArrangePanes()
{
    CHSEADataTableCore& core = GetHSEADocument()->Core();
    ShowListPane(core.ShowsBandList());
    m_graph->setVisible(core.ShowsChart());
    // Another table of the RPM selector may chart where the last did not, or the other way.
    if (isVisible())
        FitGridPane();
}

void CHSEADataTableFrame::OnRpmSelected(int item)
{
    CHSEADataTableDoc* d = GetHSEADocument();
    if (item < 0 || !d->Core().GetRpmSelector())
        return;
    CZuTableData* table = d->Core().GetRpmSelector()->GetRpmData(m_rpm->itemData(item).toInt());
    if (!table)
        return;
    d->SetTableData(table);
    ArrangePanes();
    d->UpdateAllViews(nullptr, -1);
}

bool CHSEADataTableFrame::FindCell()
{
    CZuTableData* table = GetHSEADocument()->GetData();
    if (auto* matrix = dynamic_cast<CZuMatFunc*>(table))
        return FindCellInMatrix(matrix);
    if (auto* vector = dynamic_cast<CZuVecFunc*>(table))
        return FindCellInVector(vector);
    return false;
}

bool CHSEADataTableFrame::FindCellInMatrix(CZuMatFunc* matrix)
{
    CSearchDataInMatrixDlg dlg(matrix, this);
    if (dlg.DoModal() != IDOK)
        return false;
    int row = -1, col = -1;
    if (!GetHSEADocument()->Core().FindMatrixCell(dlg.GetRowName(), dlg.GetColName(), row, col))
        return false;
    m_table->SelectCell(row + 1, col + 1);
    m_table->setFocus();
    return true;
}

bool CHSEADataTableFrame::FindCellInVector(CZuVecFunc* vector)
{
    CSearchDataInVectorDlg dlg(vector, this);
    if (dlg.DoModal() != IDOK)
        return false;
    const int col = GetHSEADocument()->Core().FindVectorColumn(dlg.GetName());
    if (col < 0)
        return false;
    m_table->SelectCell(-1, col + 1);
    m_table->setFocus();
    return true;
}
