#include "experiments/ui/ExpFrame.h"

#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/Excitation.h"
#include "experiments/RPMSignalData.h"
#include "experiments/ui/ExpDataView.h"
#include "experiments/ui/ExpDiagView.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpTreeView.h"
#include "platform/base/Format.h"
#include "platform/ui/ZuControlBar.h"
#include "platform/elements/MElement.h"
#include "platform/win/CommandGuard.h"
#include "platform/win/Messages.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace {
std::vector<QPointer<CExpFrame>>& Frames()
{
    static std::vector<QPointer<CExpFrame>> frames;
    return frames;
}

// The entries of a table that a place shows, in their order: the toolbar (by toolBarPos) or a
// menu (by menuPos).
template <class Table>
std::vector<const typename Table::Entry*> Placed(const Table& table, const std::string& menu = {})
{
    std::vector<const typename Table::Entry*> out;
    for (const auto& [id, entry] : table.Entries())
        if (menu.empty() ? entry.toolBarPos >= 0 : entry.menu == menu)
            out.push_back(&entry);
    std::sort(out.begin(), out.end(), [&menu](const auto* a, const auto* b) {
        return menu.empty() ? a->toolBarPos < b->toolBarPos : a->menuPos < b->menuPos;
    });
    return out;
}
} // namespace

CExpFrame::CExpFrame(CExpDoc* doc, const std::string& programFolder, QWidget* parent) : QMainWindow(parent), m_doc(doc)
{
    setObjectName("ExpFrame");
    setAttribute(Qt::WA_DeleteOnClose);
    m_doc->setParent(this);
    m_doc->SetFrame(this);
    setWindowTitle(QString::fromStdString(m_doc->GetTitle()));
    connect(m_doc, &CExpDoc::TitleChanged, this, &QWidget::setWindowTitle);
    connect(m_doc, &CExpDoc::CloseRequested, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });

    resize(960, 640);
    m_outer = new QSplitter(Qt::Horizontal, this);
    m_outer->setObjectName("OuterSplitter");
    m_treeView = new CExpTreeView(m_doc, m_outer);
    m_inner = new QSplitter(Qt::Vertical, m_outer);
    m_inner->setObjectName("InnerSplitter");
    m_diagView = new CExpDiagView(m_doc, m_inner);
    m_dataView = new CExpDataView(m_doc, m_inner);
    m_outer->addWidget(m_treeView);
    m_outer->addWidget(m_inner);
    m_outer->setStretchFactor(0, 1);
    m_outer->setStretchFactor(1, 3);
    m_outer->setSizes({275, 825});
    m_inner->setSizes({320, 320});

    // The commands and the RPM list sit in one bar above the panes that wraps onto more rows in a
    // narrow window, so that no command hides behind a toolbar's extension button.
    m_mainBar = new CZuControlBar;
    m_mainBar->setObjectName("ToolBar104");
    int group = -1;
    for (const auto* entry : Placed(CExpTreeView::Commands())) {
        if (group >= 0 && entry->toolBarPos / 100 != group)
            m_mainBar->AddSeparator();
        group = entry->toolBarPos / 100;
        AddAction(m_mainBar, entry->id, entry->text);
    }
    m_mainBar->AddSeparator();
    // The RPM list keeps its label beside it when the bar wraps.
    auto* rpmBar = new QWidget;
    rpmBar->setObjectName("DialogBar4058");
    auto* rpmRow = new QHBoxLayout(rpmBar);
    rpmRow->setContentsMargins(0, 0, 0, 0);
    rpmRow->addWidget(new QLabel("RPM:", rpmBar));
    m_rpmCombo = new QComboBox(rpmBar);
    m_rpmCombo->setObjectName("RpmCombo");
    m_rpmCombo->setMinimumWidth(120);
    m_rpmCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    rpmRow->addWidget(m_rpmCombo);
    m_mainBar->AddWidget(rpmBar);
    connect(m_rpmCombo, QOverload<int>::of(&QComboBox::activated), this, &CExpFrame::OnRpmSelected);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_mainBar);
    column->addWidget(m_outer, 1);
    setCentralWidget(central);

    m_modeBar = new QToolBar("Display", this);
    m_modeBar->setObjectName("ToolBar105");
    addToolBar(Qt::RightToolBarArea, m_modeBar);
    group = -1;
    for (const auto* entry : Placed(Commands())) {
        if (group >= 0 && entry->toolBarPos / 100 != group)
            m_modeBar->addSeparator();
        group = entry->toolBarPos / 100;
        AddAction(m_modeBar, entry->id, entry->text)->setCheckable(static_cast<bool>(entry->checked));
    }

    AddDeveloperMenu(programFolder);
    connect(m_treeView, &CExpTreeView::CommandStateChanged, this, &CExpFrame::UpdateCommandUI);
    connect(m_doc, &CExpDoc::Update, this, [this] { UpdateCommandUI(); });
    Frames().push_back(this);
    UpdateCommandUI();
}

CExpFrame::~CExpFrame()
{
    auto& frames = Frames();
    frames.erase(std::remove(frames.begin(), frames.end(), QPointer<CExpFrame>(this)), frames.end());
    frames.erase(std::remove(frames.begin(), frames.end(), QPointer<CExpFrame>()), frames.end());
    m_doc->SetFrame(nullptr);
    // The views look at the document as they go, so they go first: the document is a child of
    // this window made before them, and children go in the order they were made.
    delete m_outer;
    m_outer = m_inner = nullptr;
    m_treeView = nullptr;
    m_diagView = nullptr;
    m_dataView = nullptr;
}

std::vector<CExpFrame*> CExpFrame::OpenFrames()
{
    std::vector<CExpFrame*> out;
    for (const auto& f : Frames())
        if (f)
            out.push_back(f.data());
    return out;
}

CExpFrame* CExpFrame::Open(QMdiArea* area, const std::string& programFolder)
{
    auto* frame = new CExpFrame(new CExpDoc, programFolder);
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(frame);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        const QSize client = area->viewport()->size();
        sub->resize(client.width() * 60 / 100, client.height() * 80 / 100);
        if (frame->m_developerMenu) {
            sub->systemMenu()->addSeparator();
            for (QAction* a : frame->m_developerMenu->actions())
                sub->systemMenu()->addAction(a);
        }
        sub->show();
    } else {
        frame->show();
    }
    return frame;
}

QAction* CExpFrame::AddAction(QToolBar* bar, int id, const char* text)
{
    QAction* action = MakeAction(id, text);
    bar->addAction(action);
    return action;
}

QAction* CExpFrame::AddAction(CZuControlBar* bar, int id, const char* text)
{
    QAction* action = MakeAction(id, text);
    bar->AddAction(action);
    return action;
}

QAction* CExpFrame::MakeAction(int id, const char* text)
{
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setData(id);
    action->setObjectName(QString("Command%1").arg(id));
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_actions[id] = action;
    return action;
}

QAction* CExpFrame::Action(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CExpFrame::AddDeveloperMenu(const std::string& programFolder)
{
    const std::string folder =
        programFolder.empty() ? QCoreApplication::applicationDirPath().toStdString() : programFolder;
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(folder) / kHiddenMenuFlag, ec))
        return;
    m_developerMenu = menuBar()->addMenu("&System");
    m_developerMenu->setObjectName("DeveloperMenu");
    m_developerMenu->addSeparator();
    for (const auto* entry : Placed(CExpTreeView::Commands(), "System")) {
        QAction* action = m_developerMenu->addAction(QString::fromUtf8(entry->text));
        const int id = entry->id;
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    m_actions[CExpTreeView::ID_REAL_TIME_MONITOR]->setEnabled(false);
}

void CExpFrame::FillRpmCombo(const std::vector<double>& rpms)
{
    m_rpms = rpms;
    m_rpmCombo->clear();
    for (size_t i = 0; i < rpms.size(); ++i)
        m_rpmCombo->addItem(QString::fromStdString(Format("%g RPM", rpms[i])), static_cast<int>(i));
    if (!rpms.empty() && m_dataView) {
        m_rpmCombo->setCurrentIndex(0);
        m_dataView->SetRpm(rpms.front());
    }
}

void CExpFrame::OnRpmSelected(int index)
{
    if (index < 0 || index >= m_rpmCombo->count())
        return;
    const int data = m_rpmCombo->itemData(index).toInt();
    if (m_dataView)
        m_dataView->OnMessage(WM_ZU_SET_RPM_INDEX, static_cast<uintptr_t>(data), 0);
    m_doc->UpdateAllViews(nullptr, CExpDoc::kHintNone, m_treeView->GetCurrentElement());
}

int CExpFrame::SelectedChannelKind() const
{
    auto* data = ElementCast<CExpData>(m_treeView->GetCurrentElement());
    CExpDataSet* set = data ? data->GetDataSet() : nullptr;
    CMElement* owner = set ? set->GetParent() : nullptr;
    if (ElementCast<CExcitation>(owner))
        return 1;
    if (ElementCast<CRPMSignalData>(owner))
        return 2;
    return 0;
}

const CExpFrame::CommandTable& CExpFrame::Commands()
{
    static const CommandTable table = [] {
        CommandTable t;
        // Each mode button sets one of the three display modes to its value; the channel modes
        // need a channel of an excitation selected, the signal modes one of the RPM signal data.
        auto mode = [&t](int id, const char* text, int toolBarPos, int CExpFrame::*member, int value, int channelKind) {
            CommandTable::Entry e;
            e.id = id;
            e.text = text;
            e.toolBarPos = toolBarPos;
            if (channelKind != 0)
                e.enabled = [channelKind](const CExpFrame& f) { return f.SelectedChannelKind() == channelKind; };
            e.checked = [member, value](const CExpFrame& f) { return f.*member == value; };
            e.run = [member, value](CExpFrame& f, const CExpFrame&) {
                f.*member = value;
                f.m_doc->UpdateAllViews(nullptr, CExpDoc::kHintNone, nullptr);
                f.UpdateCommandUI();
                return true;
            };
            t.Add(std::move(e));
        };
        mode(ID_CHANNEL_TIME, "Time Domain", 0, &CExpFrame::m_channelMode, 1, 1);
        mode(ID_CHANNEL_FREQ, "Frequency Domain", 1, &CExpFrame::m_channelMode, 2, 1);
        mode(ID_SIGNAL_PULSE, "Pulse", 100, &CExpFrame::m_signalMode, 3, 2);
        mode(ID_SIGNAL_RPM, "RPM of Intervals", 101, &CExpFrame::m_signalMode, 4, 2);
        mode(ID_SIGNAL_ALL_RPM, "RPM of All Intervals", 102, &CExpFrame::m_signalMode, 5, 2);
        mode(ID_DIAG_VOLTAGE, "Max Voltage", 200, &CExpFrame::m_diagMode, 1, 0);
        mode(ID_DIAG_VALUE, "Max Value", 201, &CExpFrame::m_diagMode, 2, 0);
        mode(ID_DIAG_INTEGRAL, "Integral", 202, &CExpFrame::m_diagMode, 3, 0);
        return t;
    }();
    return table;
}

bool CExpFrame::IsCommandEnabled(int id) const
{
    return Commands().Has(id) ? Commands().IsEnabled(id, *this) : m_treeView->IsCommandEnabled(id);
}

bool CExpFrame::IsCommandChecked(int id) const
{
    return Commands().IsChecked(id, *this);
}

bool CExpFrame::OnCommand(int id)
{
    return RunCommandGuarded([this, id] {
        if (Commands().Has(id))
            return Commands().Run(id, *this, *this);
        const bool done = m_treeView->OnCommand(id);
        UpdateCommandUI();
        return done;
    });
}

void CExpFrame::UpdateCommandUI()
{
    for (auto& [id, action] : m_actions) {
        action->setEnabled(IsCommandEnabled(id));
        if (action->isCheckable())
            action->setChecked(IsCommandChecked(id));
    }
    m_rpmCombo->setEnabled(SelectedChannelKind() == 1 && m_channelMode == 2);
}

void CExpFrame::closeEvent(QCloseEvent* event)
{
    // A run does not outlive its window: it ends before the close question is asked.
    m_doc->EndRun();
    m_doc->OnCloseDocument();
    QMainWindow::closeEvent(event);
}
