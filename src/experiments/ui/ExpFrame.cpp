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

#include <filesystem>

namespace {
std::vector<QPointer<CExpFrame>>& Frames()
{
    static std::vector<QPointer<CExpFrame>> frames;
    return frames;
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
    AddAction(m_mainBar, CExpTreeView::ID_SETUP_CHANNELS, "Set Up Channels");
    AddAction(m_mainBar, CExpTreeView::ID_START_RUN, "Start Measurement");
    AddAction(m_mainBar, CExpTreeView::ID_GAIN_SETTING, "Gain Setting");
    m_mainBar->AddSeparator();
    AddAction(m_mainBar, CExpTreeView::ID_PROPERTIES, "Properties");
    AddAction(m_mainBar, CExpTreeView::ID_DELETE, "Delete");
    AddAction(m_mainBar, CExpTreeView::ID_DATA_CHECK, "Data Check");
    AddAction(m_mainBar, CExpTreeView::ID_ANALYSIS_OPTIONS, "Analysis Options");
    AddAction(m_mainBar, CExpTreeView::ID_DAQ_OPTIONS, "DAQ Options");
    AddAction(m_mainBar, CExpTreeView::ID_ACCEL_RPM, "Acceleration RPM");
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
    AddAction(m_modeBar, ID_CHANNEL_TIME, "Time Domain");
    AddAction(m_modeBar, ID_CHANNEL_FREQ, "Frequency Domain");
    m_modeBar->addSeparator();
    AddAction(m_modeBar, ID_SIGNAL_PULSE, "Pulse");
    AddAction(m_modeBar, ID_SIGNAL_RPM, "RPM of Intervals");
    AddAction(m_modeBar, ID_SIGNAL_ALL_RPM, "RPM of All Intervals");
    m_modeBar->addSeparator();
    AddAction(m_modeBar, ID_DIAG_VOLTAGE, "Max Voltage");
    AddAction(m_modeBar, ID_DIAG_VALUE, "Max Value");
    AddAction(m_modeBar, ID_DIAG_INTEGRAL, "Integral");
    for (int id : {ID_CHANNEL_TIME, ID_CHANNEL_FREQ, ID_SIGNAL_PULSE, ID_SIGNAL_RPM, ID_SIGNAL_ALL_RPM, ID_DIAG_VOLTAGE,
                   ID_DIAG_VALUE, ID_DIAG_INTEGRAL})
        m_actions[id]->setCheckable(true);

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
    const std::pair<int, const char*> entries[] = {{CExpTreeView::ID_REAL_TIME_MONITOR, "&Real Time Monitor"},
                                                   {CExpTreeView::ID_DUMP, "&Dump Data ..."},
                                                   {CExpTreeView::ID_DUMP_PARAM, "&Dump Data (with Parameter)..."}};
    for (const auto& [id, text] : entries) {
        QAction* action = m_developerMenu->addAction(QString::fromUtf8(text));
        action->setData(id);
        // A lambda takes a copy, not the structured binding itself (which clang 14 refuses).
        const int command = id;
        connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
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

bool CExpFrame::IsCommandEnabled(int id) const
{
    switch (id) {
    case ID_DIAG_VOLTAGE:
    case ID_DIAG_VALUE:
    case ID_DIAG_INTEGRAL:
        return true;
    case ID_CHANNEL_TIME:
    case ID_CHANNEL_FREQ:
        return SelectedChannelKind() == 1;
    case ID_SIGNAL_PULSE:
    case ID_SIGNAL_RPM:
    case ID_SIGNAL_ALL_RPM:
        return SelectedChannelKind() == 2;
    default:
        return m_treeView->IsCommandEnabled(id);
    }
}

bool CExpFrame::IsCommandChecked(int id) const
{
    switch (id) {
    case ID_CHANNEL_TIME:
        return m_channelMode == 1;
    case ID_CHANNEL_FREQ:
        return m_channelMode == 2;
    case ID_SIGNAL_PULSE:
        return m_signalMode == 3;
    case ID_SIGNAL_RPM:
        return m_signalMode == 4;
    case ID_SIGNAL_ALL_RPM:
        return m_signalMode == 5;
    case ID_DIAG_VOLTAGE:
        return m_diagMode == 1;
    case ID_DIAG_VALUE:
        return m_diagMode == 2;
    case ID_DIAG_INTEGRAL:
        return m_diagMode == 3;
    default:
        return false;
    }
}

bool CExpFrame::OnCommand(int id)
{
    return RunCommandGuarded([this, id] { return RunCommand(id); });
}

bool CExpFrame::RunCommand(int id)
{
    int* mode = nullptr;
    int value = 0;
    switch (id) {
    case ID_CHANNEL_TIME:
        mode = &m_channelMode;
        value = 1;
        break;
    case ID_CHANNEL_FREQ:
        mode = &m_channelMode;
        value = 2;
        break;
    case ID_SIGNAL_PULSE:
        mode = &m_signalMode;
        value = 3;
        break;
    case ID_SIGNAL_RPM:
        mode = &m_signalMode;
        value = 4;
        break;
    case ID_SIGNAL_ALL_RPM:
        mode = &m_signalMode;
        value = 5;
        break;
    case ID_DIAG_VOLTAGE:
        mode = &m_diagMode;
        value = 1;
        break;
    case ID_DIAG_VALUE:
        mode = &m_diagMode;
        value = 2;
        break;
    case ID_DIAG_INTEGRAL:
        mode = &m_diagMode;
        value = 3;
        break;
    default:
        break;
    }
    if (mode) {
        if (!IsCommandEnabled(id))
            return false;
        *mode = value;
        m_doc->UpdateAllViews(nullptr, CExpDoc::kHintNone, nullptr);
        UpdateCommandUI();
        return true;
    }
    const bool done = m_treeView->OnCommand(id);
    UpdateCommandUI();
    return done;
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
