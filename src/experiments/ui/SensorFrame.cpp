#include "experiments/ui/SensorFrame.h"

#include <QAction>
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

namespace {

struct Button
{
    int id;
    const char* text;
    QStyle::StandardPixmap icon;
};
const Button kButtons[] = {
    {ID_SENSOR_IMPORT, "Import Sensor List...", QStyle::SP_DialogOpenButton},
    {ID_SENSOR_EXPORT, "Export Sensor List...", QStyle::SP_DialogSaveButton},
    {ID_SENSOR_EXCEL_IMPORT, "Import from Workbook...", QStyle::SP_FileDialogContentsView},
    {0, nullptr, QStyle::SP_CustomBase},
    {ID_SENSOR_NEW, "New", QStyle::SP_FileIcon},
    {ID_SENSOR_INSERT, "Insert", QStyle::SP_FileDialogNewFolder},
    {ID_SENSOR_PROPERTY, "Properties...", QStyle::SP_FileDialogInfoView},
    {ID_SENSOR_DELETE, "Delete", QStyle::SP_DialogDiscardButton},
    {ID_SENSOR_DELETE_ROW, "Delete Row", QStyle::SP_TrashIcon},
    {ID_SENSOR_COPY, "Copy Rows", QStyle::SP_FileLinkIcon},
    {0, nullptr, QStyle::SP_CustomBase},
    {ID_SENSOR_UP, "Move Up", QStyle::SP_ArrowUp},
    {ID_SENSOR_DOWN, "Move Down", QStyle::SP_ArrowDown},
    {ID_SENSOR_LEFT, "Move Left", QStyle::SP_ArrowLeft},
    {ID_SENSOR_RIGHT, "Move Right", QStyle::SP_ArrowRight},
    {ID_SENSOR_SORT, "Sort Bundles", QStyle::SP_BrowserReload},
    {0, nullptr, QStyle::SP_CustomBase},
    {ID_SENSOR_PUSH, "Copy into Measured Data", QStyle::SP_DialogApplyButton},
};
} // namespace

CSensorFrame::CSensorFrame(CSensorProject* project, CTALVODoc* projectDoc, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SensorFrame"));
    setWindowTitle(QStringLiteral("Sensors"));
    m_doc = new CSensorDoc(project, projectDoc, this);
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("SensorToolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const Button& b : kButtons) {
        if (b.id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* a = m_toolBar->addAction(style()->standardIcon(b.icon), QString::fromLatin1(b.text));
        a->setObjectName(QStringLiteral("Command%1").arg(b.id));
        a->setToolTip(QString::fromLatin1(b.text));
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
    m_views->addTab(m_listView, QStringLiteral("Sensor List"));
    m_views->addTab(m_bundleView, QStringLiteral("Bundles"));
    m_views->addTab(m_groupView, QStringLiteral("Groups"));
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
            e.text = b.text;
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
