#include "acquisition/ui/DlgDaqDataManagement.h"

#include "acquisition/DAQIO.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOExp.h"
#include "experiments/CalcOptions.h"
#include "experiments/DAQConfig.h"
#include "experiments/ExpInfo.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "acquisition/ui/DlgExpDataComp.h"
#include "calculation/ui/PPageBandAve.h"
#include "calculation/ui/PPageCalcOptions.h"
#include "calculation/ui/PPageLocalPoint.h"
#include "calculation/ui/PPageOctave.h"
#include "calculation/ui/PPageOrderTracking.h"
#include "calculation/ui/PSheetAnaOptions.h"
#include "platform/win/Messages.h"
#include "platform/ui/DialogButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <ctime>
#include <initializer_list>
#include <filesystem>

namespace {

std::string DateText(const CDAQExperiment& set)
{
    const CExpInfo* info = set.GetExpInfo();
    const std::time_t t = info ? static_cast<std::time_t>(info->GetTime()) : 0;
    std::tm tm{};
    char text[32] = {};
    if (!localtime_r(&t, &tm) || std::strftime(text, sizeof text, "%m/%d/%Y", &tm) == 0)
        return std::string();
    return text;
}

// A data set's measurement file: 1 when it exists, 0 when it does not, -1 when the data set has
// no place for one (its document has no work folder yet).
int FileState(CDAQExperiment* set)
{
    const std::string path = CDAQIO::GetDaqFilePath(set);
    if (path.empty())
        return -1;
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) ? 1 : 0;
}

} // namespace

CDlgDaqDataManagement* CDlgDaqDataManagement::CreateInstance(CMElement* experiment, QWidget* parent)
{
    auto* exp = DynamicDowncast<CTALVOExp>(experiment);
    if (!exp)
        return nullptr;
    // An open dialog keeps its place: no second one, and the open one is not brought forward.
    return Instances().RegisterNew(ProgramKey(), [&] {
        auto* dialog = new CDlgDaqDataManagement(exp, parent);
        dialog->Create();
        return dialog;
    });
}

void CDlgDaqDataManagement::DestroyInstance()
{
    // Gone at once, not on the next loop turn: callers go on with the dialog's data released.
    delete Instances().Release(ProgramKey());
}

int CDlgDaqDataManagement::BandAveMask(int blockMode, int rpmMode)
{
    return 0x1 | (blockMode == 0 ? 0x10 : 0x20) | (rpmMode != 0 ? 0x200 : 0x100);
}

CDlgDaqDataManagement::CDlgDaqDataManagement(CTALVOExp* experiment, QWidget* parent)
    : CZuDialog(parent, IDD), m_experiment(experiment)
{
    setObjectName(QStringLiteral("DlgDaqDataManagement"));
    setWindowTitle(QStringLiteral("Measured Data Management"));
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("c3089"));
    m_name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_notUsed = new QCheckBox(QStringLiteral("Exclude this experiment from the calculations"), this);
    m_notUsed->setObjectName(QStringLiteral("c3051"));

    m_list = new QTableWidget(0, 4, this);
    m_list->setObjectName(QStringLiteral("c3159"));
    m_list->setHorizontalHeaderLabels(
        {QStringLiteral("Serial #"), QStringLiteral("Date"), QStringLiteral("Comment"), QStringLiteral("File")});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->horizontalHeader()->setSectionResizeMode(colComment, QHeaderView::Stretch);
    // Room for the check box beside the serial and for a whole date.
    m_list->setColumnWidth(colSerial, 70);
    m_list->setColumnWidth(colDate, 90);
    m_list->setColumnWidth(colComment, 300);
    m_list->setColumnWidth(colFile, 40);
    m_list->setMinimumSize(70 + 90 + 300 + 40 + 24, 180);

    auto* side = new QVBoxLayout;
    for (const int id : {ID_OPEN_DATA, ID_CHECK_FILES, ID_DELETE_MISSING, ID_DATA_SET_OPTIONS, ID_DATA_SET_PROPERTIES,
                         ID_COMPARE_DATA_SETS}) {
        auto* button = new QPushButton(QString::fromLatin1(Commands().Find(id)->text), this);
        button->setObjectName(QStringLiteral("c%1").arg(id));
        button->setAutoDefault(false);
        m_buttons[id] = button;
        side->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    }
    side->addStretch(1);

    auto* buttons = CDialogButtons::OkCancel(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Experiment:"), this));
    top->addWidget(m_name, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_notUsed);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);

    connect(m_list, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling && item && item->column() == colSerial)
            OnRowChecked(item->row(), item->checkState() == Qt::Checked);
    });
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        SelectRow(row);
        OnCommand(ID_OPEN_DATA);
    });
    connect(m_list, &QTableWidget::itemSelectionChanged, this, [this] { UpdateCommands(); });
    connect(m_notUsed, &QCheckBox::toggled, this, [this](bool checked) {
        if (!m_filling)
            OnNotUsedChanged(checked);
    });
    m_listener = AddObjectGoingListener([this](const void* object) { OnObjectGoing(object); });
    SetOwnerElement(experiment ? experiment->GetParent() : nullptr);
}

CDlgDaqDataManagement::~CDlgDaqDataManagement()
{
    RemoveObjectGoingListener(m_listener);
    CDlgExpDataComp::DestroyInstance(this);
}

void CDlgDaqDataManagement::SetOwnerElement(CMElement* owner)
{
    m_owner = owner;
    const auto* project = DynamicDowncast<CDaqProject>(owner);
    m_readOnly = project && project->IsUFData() == 1;
    if (IsInitialized())
        UpdateCommands();
}

void CDlgDaqDataManagement::SetPropertiesHandler(PropertiesHandler handler)
{
    m_properties = std::move(handler);
    if (IsInitialized())
        UpdateCommands();
}

CDaqProject* CDlgDaqDataManagement::GetDaqProject() const
{
    for (CMElement* e = m_experiment; e; e = e->GetParent())
        if (auto* project = DynamicDowncast<CDaqProject>(e))
            return project;
    return nullptr;
}

bool CDlgDaqDataManagement::OnInitDialog()
{
    m_useFlags.clear();
    if (m_experiment) {
        m_useFlags[m_experiment] = m_experiment->GetUseFlag();
        for (int i = 0; i < m_experiment->GetChildCount(); ++i)
            if (auto* set = DynamicDowncast<CDAQExperiment>(m_experiment->GetChild(i)))
                m_useFlags[set] = set->GetUseFlag();
        m_name->setText(QString::fromStdString(m_experiment->GetName()));
    }
    FillList();
    m_filling = true;
    m_notUsed->setChecked(m_experiment && m_experiment->GetUseFlag() == 0);
    m_filling = false;
    if (!m_rows.empty())
        SelectRow(0);
    UpdateCommands();
    return true;
}

void CDlgDaqDataManagement::FillList()
{
    m_filling = true;
    m_rows.clear();
    m_list->setRowCount(0);
    for (int i = 0; m_experiment && i < m_experiment->GetChildCount(); ++i) {
        auto* set = DynamicDowncast<CDAQExperiment>(m_experiment->GetChild(i));
        if (!set)
            continue;
        const int row = static_cast<int>(m_rows.size());
        m_rows.push_back(set);
        m_list->insertRow(row);
        auto* serial = new QTableWidgetItem(QString::fromStdString(Format("#%02d", set->GetSerial())));
        serial->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        serial->setCheckState(set->GetUseFlag() ? Qt::Checked : Qt::Unchecked);
        m_list->setItem(row, colSerial, serial);
        const CExpInfo* info = set->GetExpInfo();
        const std::string texts[] = {DateText(*set), info ? info->GetLabel() : std::string(), std::string()};
        for (int c = colDate; c <= colFile; ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(texts[c - colDate]));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (c == colFile)
                item->setTextAlignment(Qt::AlignCenter);
            m_list->setItem(row, c, item);
        }
    }
    m_filling = false;
    if (m_fileColumnShown)
        FillFileColumn();
}

void CDlgDaqDataManagement::FillFileColumn()
{
    m_filling = true;
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row)
        if (QTableWidgetItem* item = m_list->item(row, colFile))
            item->setText(FileState(m_rows[static_cast<size_t>(row)]) == 1 ? QStringLiteral("*") : QString());
    m_filling = false;
}

void CDlgDaqDataManagement::UpdateCheckMarks()
{
    m_filling = true;
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row)
        if (QTableWidgetItem* item = m_list->item(row, colSerial))
            item->setCheckState(m_rows[static_cast<size_t>(row)]->GetUseFlag() ? Qt::Checked : Qt::Unchecked);
    m_notUsed->setChecked(m_experiment && m_experiment->GetUseFlag() == 0);
    m_filling = false;
}

void CDlgDaqDataManagement::OnRowChecked(int row, bool checked)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    m_rows[static_cast<size_t>(row)]->SetUseFlag(checked ? 1 : 0);
    UpdateCheckMarks();
}

void CDlgDaqDataManagement::OnNotUsedChanged(bool checked)
{
    if (m_experiment)
        m_experiment->SetUseFlag(checked ? 0 : 1);
}

CDAQExperiment* CDlgDaqDataManagement::GetSelectedDataSet() const
{
    const QList<QTableWidgetItem*> selected = m_list->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.front()->row();
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<size_t>(row)] : nullptr;
}

void CDlgDaqDataManagement::SelectRow(int row)
{
    if (row < 0 || row >= m_list->rowCount())
        return;
    m_list->selectRow(row);
    m_list->scrollToItem(m_list->item(row, colSerial));
}

void CDlgDaqDataManagement::ShowDataSet(const CMElement* dataSet)
{
    UpdateCheckMarks();
    m_list->setFocus();
    for (size_t row = 0; row < m_rows.size(); ++row)
        if (m_rows[row] == dataSet)
            SelectRow(static_cast<int>(row));
}

QPushButton* CDlgDaqDataManagement::CommandButton(int id) const
{
    auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

const CDlgDaqDataManagement::CommandTable& CDlgDaqDataManagement::Commands()
{
    static const CommandTable table = [] {
        using Dialog = CDlgDaqDataManagement;
        CommandTable t;
        auto add = [&t](int id, const char* text, std::function<bool(const Dialog&)> rule, void (Dialog::*action)()) {
            CommandTable::Entry e;
            e.id = id;
            e.text = text;
            e.enabled = [rule = std::move(rule)](const Dialog& d) { return d.m_experiment && rule(d); };
            e.run = [action](Dialog& d, const Dialog&) {
                (d.*action)();
                return true;
            };
            t.Add(std::move(e));
        };
        add(
            ID_CHECK_FILES, "Check Files", [](const Dialog& d) { return !d.m_readOnly; }, &Dialog::OnCheckFiles);
        add(
            ID_DELETE_MISSING, "Delete Missing", [](const Dialog& d) { return !d.m_readOnly; },
            &Dialog::OnDeleteMissing);
        add(
            ID_DATA_SET_OPTIONS, "Options...",
            [](const Dialog& d) { return d.GetSelectedDataSet() && d.GetDaqProject(); }, &Dialog::OnCalcOptions);
        add(
            ID_COMPARE_DATA_SETS, "Compare...", [](const Dialog& d) { return d.GetDaqProject() != nullptr; },
            &Dialog::OnCompare);
        // Outside data have no measurement file to open.
        add(
            ID_OPEN_DATA, "Open Data",
            [](const Dialog& d) { return !d.m_readOnly && d.GetSelectedDataSet() && d.GetDaqProject(); },
            &Dialog::OnOpenData);
        add(
            ID_DATA_SET_PROPERTIES, "Properties...",
            [](const Dialog& d) { return d.GetSelectedDataSet() && d.m_properties; }, &Dialog::OnProperties);
        return t;
    }();
    return table;
}

bool CDlgDaqDataManagement::IsCommandEnabled(int id) const
{
    return Commands().IsEnabled(id, *this);
}

void CDlgDaqDataManagement::UpdateCommands()
{
    for (auto& [id, button] : m_buttons)
        button->setEnabled(IsCommandEnabled(id));
}

bool CDlgDaqDataManagement::OnCommand(int id)
{
    return Commands().Run(id, *this, *this);
}

void CDlgDaqDataManagement::OnOpenData()
{
    CDAQExperiment* set = GetSelectedDataSet();
    CDaqProject* daq = GetDaqProject();
    if (set && daq)
        daq->OpenRawData(CDAQIO::GetDaqFilePath(set), &*CStatusBarFallback(nullptr));
}

void CDlgDaqDataManagement::OnProperties()
{
    // The texts of measured data are theirs to edit; data from outside are only shown.
    if (CDAQExperiment* set = GetSelectedDataSet())
        m_properties(set, m_readOnly ? 3 : 2, this);
}

void CDlgDaqDataManagement::OnCheckFiles()
{
    m_fileColumnShown = true;
    FillFileColumn();
}

void CDlgDaqDataManagement::OnDeleteMissing()
{
    if (AfxMessageBox(IDS_DELETE_MISSING, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    // Only a data set whose file could be looked for and is not there goes: without a work folder
    // nothing can be told about the files.
    std::vector<CDAQExperiment*> missing;
    for (CDAQExperiment* set : m_rows)
        if (FileState(set) == 0)
            missing.push_back(set);
    if (!missing.empty())
        CDlgExpDataComp::DestroyInstance(this); // it may be showing one of them
    for (CDAQExperiment* set : missing) {
        m_useFlags.erase(set);
        m_experiment->DeleteChild(set, 1);
    }
    if (!missing.empty())
        if (CDaqProject* project = GetDaqProject())
            project->SetModified();
    FillList();
    UpdateCommands();
}

void CDlgDaqDataManagement::OnCalcOptions()
{
    CDAQExperiment* set = GetSelectedDataSet();
    CDaqProject* project = GetDaqProject();
    if (!set || !project)
        return;
    CCalcOptions* options = set->GetCalcOptions();
    const CDAQConfig* config = project->GetDAQConfig();
    CPSheetAnaOptions sheet(IDS_CALC_OPTIONS, this);
    sheet.setMinimumWidth(520); // every tab in sight

    CPPageCalcOptions calc;
    CPPageLocalPoint localPoints;
    std::vector<CCalcOptions*> perDataSet{options};
    localPoints.SetLocalPointOptions(&perDataSet);
    CPPageBandAve band;
    CPPageOrderTracking orders;
    CPPageOctave octave;
    octave.SetOctaveManagers(project->GetModelOctaveManager(), project->GetOctaveManager());
    octave.SetReadOnly(true);

    if (m_readOnly) {
        localPoints.SetReadOnly(true);
        sheet.AddPage(&localPoints);
    } else {
        calc.SetCalcOptions(options);
        sheet.AddPage(&calc);
        sheet.AddPage(&localPoints);
        band.SetFreqRange(config->GetMaxFreq());
        band.SetAverageParam(config->GetSamplingFreq());
        band.SetCalcOptions(options);
        band.SetEnableMask(BandAveMask(config->GetVersion5Field(), config->GetOption60()));
        sheet.AddPage(&band);
        if (GetRegOptionByStringId(IDS_OPT_ORDER_TRACKING) != 0 && config->GetOption60() == 0) {
            orders.SetCalcOptions(options);
            sheet.AddPage(&orders);
        }
    }
    sheet.AddPage(&octave);
    // The pages write into the data set's options on OK; the document then has changes to save.
    if (sheet.DoModal() == IDOK)
        project->SetModified();
    // The pages live on this stack; they leave the sheet before it goes.
    for (CZuPropertyPage* page : std::initializer_list<CZuPropertyPage*>{&octave, &orders, &band, &localPoints, &calc})
        if (sheet.GetPageIndex(page) >= 0)
            sheet.RemovePage(page);
}

void CDlgDaqDataManagement::OnCompare()
{
    CDaqProject* project = GetDaqProject();
    if (!project)
        return;
    if (CDlgExpDataComp* open = CDlgExpDataComp::GetInstance(this)) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return;
    }
    CDlgExpDataComp* dialog = CDlgExpDataComp::CreateInstance(this, parentWidget());
    if (!dialog)
        return;
    dialog->SetOwnerID(project);
    CMElementList experiments;
    experiments.Add(m_experiment);
    dialog->SetDataList(experiments);
    dialog->SetOwnerWindow(this);
    dialog->Create();
}

intptr_t CDlgDaqDataManagement::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg != WM_ZU_DATA_COLUMN_CLICKED)
        return 0;
    // The comparison dialog names the data set in lParam; a sender with it in wParam is heard too.
    const auto* set = reinterpret_cast<const CMElement*>(lParam ? static_cast<uintptr_t>(lParam) : wParam);
    ShowDataSet(set);
    return 1;
}

void CDlgDaqDataManagement::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    QPointer<CDlgDaqDataManagement> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, msg, wParam, lParam] {
            if (self)
                self->SendMessage(msg, wParam, lParam);
        },
        Qt::QueuedConnection);
}

void CDlgDaqDataManagement::OnObjectGoing(const void* object)
{
    if (object == m_experiment || (object && object == m_owner)) {
        // What the dialog shows is gone: it closes without touching any flag.
        Forget();
        DestroyWindow();
        return;
    }
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row] == object) {
            m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(row));
            m_filling = true;
            m_list->removeRow(static_cast<int>(row));
            m_filling = false;
            break;
        }
    }
    for (auto it = m_useFlags.begin(); it != m_useFlags.end(); ++it) {
        if (it->first == object) {
            m_useFlags.erase(it);
            break;
        }
    }
}

void CDlgDaqDataManagement::Forget()
{
    m_useFlags.clear();
    m_rows.clear();
    m_experiment = nullptr;
    m_owner = nullptr;
    // Left open, but no longer the program's one: another may open beside it.
    if (Instances().Find(ProgramKey()) == this)
        Instances().Release(ProgramKey());
}

void CDlgDaqDataManagement::OnOK()
{
    // Ticked flags that differ from the opening ones are changes the document has to save.
    bool changed = false;
    for (const auto& [element, use] : m_useFlags) {
        if (element == m_experiment)
            changed = changed || m_experiment->GetUseFlag() != use;
        else if (auto* set = DynamicDowncast<CDAQExperiment>(element))
            changed = changed || set->GetUseFlag() != use;
    }
    if (changed)
        if (CDaqProject* project = GetDaqProject())
            project->SetModified();
    CZuDialog::OnOK();
}

void CDlgDaqDataManagement::OnCancel()
{
    for (const auto& [element, use] : m_useFlags) {
        if (element == m_experiment)
            m_experiment->SetUseFlag(use);
        else if (auto* set = DynamicDowncast<CDAQExperiment>(element))
            set->SetUseFlag(use);
    }
    CZuDialog::OnCancel();
}
