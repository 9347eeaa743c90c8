#include "experiments/ui/SensorFrame.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "experiments/SensorProject.h"
#include "experiments/ui/SensorBundleView.h"
#include "experiments/ui/SensorCommands.h"
#include "experiments/ui/SensorDoc.h"
#include "experiments/ui/SensorGroupView.h"
#include "experiments/ui/SensorListView.h"
#include "platform/win/CommandGuard.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <iterator>

namespace {

struct Button
{
    int id;
    uint32_t text; // string id
    QStyle::StandardPixmap icon;
};
const Button kButtons[] = {
    {ID_SENSOR_IMPORT, IDS_SENSOR_IMPORT_LIST, QStyle::SP_DialogOpenButton},
    {ID_SENSOR_EXPORT, IDS_SENSOR_EXPORT_LIST, QStyle::SP_DialogSaveButton},
    {ID_SENSOR_EXCEL_IMPORT, IDS_SENSOR_IMPORT_WORKBOOK, QStyle::SP_FileDialogContentsView},
    {0, 0, QStyle::SP_CustomBase},
    {ID_SENSOR_NEW, IDS_SENSOR_NEW, QStyle::SP_FileIcon},
    {ID_SENSOR_INSERT, IDS_SENSOR_INSERT, QStyle::SP_FileDialogNewFolder},
    {ID_SENSOR_PROPERTY, IDS_SENSOR_PROPERTIES, QStyle::SP_FileDialogInfoView},
    {ID_SENSOR_DELETE, IDS_SENSOR_DELETE, QStyle::SP_DialogDiscardButton},
    {ID_SENSOR_DELETE_ROW, IDS_SENSOR_DELETE_ROW, QStyle::SP_TrashIcon},
    {ID_SENSOR_COPY, IDS_SENSOR_COPY_ROWS, QStyle::SP_FileLinkIcon},
    {0, 0, QStyle::SP_CustomBase},
    {ID_SENSOR_UP, IDS_SENSOR_MOVE_UP, QStyle::SP_ArrowUp},
    {ID_SENSOR_DOWN, IDS_SENSOR_MOVE_DOWN, QStyle::SP_ArrowDown},
    {ID_SENSOR_LEFT, IDS_SENSOR_MOVE_LEFT, QStyle::SP_ArrowLeft},
    {ID_SENSOR_RIGHT, IDS_SENSOR_MOVE_RIGHT, QStyle::SP_ArrowRight},
    {ID_SENSOR_SORT, IDS_SENSOR_SORT_BUNDLES, QStyle::SP_BrowserReload},
    {0, 0, QStyle::SP_CustomBase},
    {ID_SENSOR_PUSH, IDS_SENSOR_PUSH, QStyle::SP_DialogApplyButton},
};
} // namespace

CSensorFrame::CSensorFrame(CSensorProject* project, CTALVODoc* projectDoc, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SensorFrame"));
    m_doc = new CSensorDoc(project, projectDoc, this);
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("SensorToolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const Button& b : kButtons) {
        if (b.id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* a = m_toolBar->addAction(style()->standardIcon(b.icon), QString());
        a->setObjectName(QStringLiteral("Command%1").arg(b.id));
        const int id = b.id;
        connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[b.id] = a;
    }
    m_views = new QTabWidget(this);
    m_views->setObjectName(QStringLiteral("SensorViews"));
    m_views->setTabPosition(QTabWidget::South);
    m_listView = new CSensorListView(m_doc, m_views);
    m_bundleView = new CSensorBundleView(m_doc, m_views);
    m_groupView = new CSensorGroupView(m_doc, m_views);
    m_views->addTab(m_listView, QString());
    m_views->addTab(m_bundleView, QString());
    m_views->addTab(m_groupView, QString());
    SetTexts();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_views);
    connect(m_views, &QTabWidget::currentChanged, this, [this] { UpdateCommandUI(); });
    connect(m_doc, &CSensorDoc::Updated, this, [this] { UpdateCommandUI(); });
    m_listView->OnInitialUpdate();
    UpdateCommandUI();
    resize(820, 480);
}

CSensorFrame::~CSensorFrame() = default;

void CSensorFrame::SetTexts()
{
    setWindowTitle(QString::fromStdString(LoadString(IDS_SENSOR_WINDOW_TITLE)));
    for (const Button& b : kButtons) {
        if (QAction* a = Action(b.id)) {
            // The buttons show their icons only: the tip is what a user reads.
            const QString text = QString::fromStdString(LoadString(b.text));
            a->setText(text);
            a->setToolTip(text);
        }
    }
    const uint32_t tabs[] = {IDS_SENSOR_LIST_TAB, IDS_SENSOR_BUNDLES_TAB, IDS_SENSOR_GROUPS_TAB};
    for (int i = 0; i < m_views->count() && i < static_cast<int>(std::size(tabs)); ++i)
        m_views->setTabText(i, QString::fromStdString(LoadString(tabs[i])));
}

void CSensorFrame::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        SetTexts();
}

CSensorFrame* CSensorFrame::ShowInstance(QMdiArea* area, CSensorProject* project, CTALVODoc* projectDoc)
{
    if (!project)
        return nullptr;
    CSensorFrame* open = GetInstance();
    if (open && open->GetDocument()->GetSensorProject() == project) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget()))
            area->setActiveSubWindow(sub);
        open->GetDocument()->UpdateAllViews();
        return open;
    }
    if (open) { // the window of another project's catalogue
        Instances().Release(ProgramKey());
        open->window() == open ? open->close() : open->parentWidget()->close();
    }
    auto* frame = new CSensorFrame(project, projectDoc);
    Instances().Register(ProgramKey(), frame);
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(frame);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(860, 520);
        sub->show();
        area->setActiveSubWindow(sub);
    } else {
        frame->show();
    }
    return frame;
}

QAction* CSensorFrame::Action(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

const CSensorFrame::CommandTable& CSensorFrame::Commands()
{
    static const CommandTable table = [] {
        CommandTable t;
        int pos = 0;
        for (const Button& b : kButtons) {
            if (b.id == 0) { // a separator starts the next group
                pos = (pos / 100 + 1) * 100;
                continue;
            }
            CommandTable::Entry e;
            e.id = b.id;
            e.toolBarPos = pos++;
            const int id = b.id;
            if (CSensorDoc::Commands().Has(id)) {
                e.enabled = [id](const CSensorFrame& f) { return f.m_doc->IsCommandEnabled(id); };
                e.run = [id](CSensorFrame& f, const CSensorFrame&) { return f.m_doc->OnCommand(id); };
            } else {
                e.enabled = [id](const CSensorFrame& f) { return f.IsFrontViewCommandEnabled(id); };
                e.run = [id](CSensorFrame& f, const CSensorFrame&) { return f.RunFrontViewCommand(id); };
            }
            t.Add(std::move(e));
        }
        return t;
    }();
    return table;
}

bool CSensorFrame::IsFrontViewCommandEnabled(int id) const
{
    if (m_views->currentIndex() == 0)
        return m_listView->IsCommandEnabled(id);
    if (m_views->currentIndex() == 1)
        return m_bundleView->IsCommandEnabled(id);
    return m_groupView->IsCommandEnabled(id);
}

bool CSensorFrame::RunFrontViewCommand(int id)
{
    if (m_views->currentIndex() == 0)
        return m_listView->OnCommand(id);
    if (m_views->currentIndex() == 1)
        return m_bundleView->OnCommand(id);
    return m_groupView->OnCommand(id);
}

bool CSensorFrame::IsCommandEnabled(int id) const
{
    return Commands().Has(id) ? Commands().IsEnabled(id, *this) : IsFrontViewCommandEnabled(id);
}

bool CSensorFrame::OnCommand(int id)
{
    if (!IsCommandEnabled(id))
        return false;
    const bool done = RunCommandGuarded(
        [this, id] { return Commands().Has(id) ? Commands().Run(id, *this, *this) : RunFrontViewCommand(id); });
    UpdateCommandUI();
    return done;
}

void CSensorFrame::UpdateCommandUI()
{
    for (auto& [id, action] : m_actions)
        action->setEnabled(IsCommandEnabled(id));
}
