#include "experiments/ui/DlgExpProperty2.h"

#include "acquisition/BlixChDB.h"
#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/QmxBlixChMgr.h"
#include "acquisition/ui/DlgCheckExpPics.h"
#include "acquisition/ui/DlgDaqPicture.h"
#include "acquisition/ui/DlgSubsystemSensorTable.h"
#include "acquisition/ui/EnsureQMXConnection.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "common/ProjectLookups.h"
#include "common/WorkFolder.h"
#include "experiments/ExpInfo.h"
#include "experiments/Sensor.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/ExpDoc.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Messages.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"
#include "platform/ui/DialogButtons.h"
#include "calculation/ui/DlgSelectSubsystem.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <ctime>
#include <map>
#include <set>

namespace {

CTALVOProject* ContainerOf(const CDlgExpProperty2::CDlgData& data)
{
    return data.target && data.target->daqProject ? data.target->daqProject->GetOwner() : nullptr;
}

void AddOnce(std::vector<std::string>& lines, const std::string& line)
{
    if (std::find(lines.begin(), lines.end(), line) == lines.end())
        lines.push_back(line);
}
} // namespace

// ---- items and data ----

CDlgExpProperty2::CItem::CItem(const std::string& n, double v, int f)
    : name(n), value(v), fixed(f), m_group(std::make_unique<CSensorGroup>())
{}

CDlgExpProperty2::CItem::~CItem() = default;

void CDlgExpProperty2::CItem::SetGroup(std::unique_ptr<CSensorGroup> group)
{
    m_group = std::move(group);
    ownsGroup = 1;
}

CDlgExpProperty2::CDlgData::CDlgData(CQmxBlixChMgr* inv)
    : date(static_cast<int64_t>(std::time(nullptr))), inventory(inv), target(std::make_shared<CTarget>())
{}

CDlgExpProperty2::CDlgData::~CDlgData() = default;

CDlgExpProperty2::CItem* CDlgExpProperty2::CDlgData::GetReference() const
{
    return !items.empty() && items.front()->fixed ? items.front().get() : nullptr;
}

std::unique_ptr<CSensorGroup> CDlgExpProperty2::CDlgData::SearchChannels(const std::string& subsystem,
                                                                         std::string& report) const
{
    report.clear();
    auto group = std::make_unique<CSensorGroup>();
    CTALVOProject* container = ContainerOf(*this);
    CBlixChDB* db = container ? container->GetBlixChDB() : nullptr;
    CSensorProject* sensors = container ? container->GetSensorProject() : nullptr;
    if (!db || !db->GetItemList())
        return group;
    const int channelCount = container->GetSystemChannelCount() > 0 ? container->GetSystemChannelCount()
                                                                    : CSensorGroup::kDefaultChannelCount;
    std::vector<CBlixChDB::CItem*> entries;
    db->GetItemList()->FindBySubsystem(subsystem, entries);
    if (entries.empty())
        return group;
    std::vector<std::string> missingChannels;
    std::vector<std::string> missingBundles;
    int set = 0;
    for (CBlixChDB::CItem* entry : entries) {
        const std::string& sn = entry->GetBlixSN();
        const int unitChannel = entry->GetBlixCh() + 1; // the inventory counts from 1
        const int found = inventory ? inventory->GetBlixChInfoList().Find(sn, unitChannel) : -1;
        if (found < 0) {
            AddOnce(missingChannels, Format("BLIX SN: %s-%d\n", sn.c_str(), unitChannel));
            continue;
        }
        std::vector<CBlixChDB::CItem*> ofUnit;
        for (CBlixChDB::CItem* e : entries)
            if (e->GetBlixSN() == sn)
                ofUnit.push_back(e);
        CSensorBundle* bundle = nullptr;
        for (int b = 0; sensors && !bundle && b < sensors->GetBundleCount(); ++b) {
            CSensorBundle* candidate = sensors->GetBundle(b);
            if (!candidate || candidate->GetBundleID() != sn ||
                candidate->GetCount() != static_cast<int>(ofUnit.size()))
                continue;
            bool fits = true;
            for (int k = 0; fits && k < candidate->GetCount(); ++k) {
                const CBlixChDB::CItem* atSlot = nullptr;
                for (CBlixChDB::CItem* e : ofUnit)
                    if (e->GetBlixCh() == k) {
                        atSlot = e;
                        break;
                    }
                fits = atSlot && atSlot->GetSensor() == candidate->GetSensorID(k);
            }
            if (fits)
                bundle = candidate;
        }
        if (!bundle) {
            AddOnce(missingBundles,
                    Format("BLIX CH: %s-%d\tSENSOR ID: %s\n", sn.c_str(), unitChannel, entry->GetSensor().c_str()));
            continue;
        }
        tagSENSORGROUPMEMBER member;
        member.text = entry->GetSensor();
        member.bundle = bundle->GetNumber();
        member.slot = bundle->FindSensor(entry->GetSensor());
        member.channel = inventory->GetBlixChInfoList()[found].GetChannelNumber();
        member.extra = set;
        if (group->SetMember(member, channelCount, &*CStatusBarFallback(nullptr)))
            ++set;
        group->AddBundle(bundle->GetNumber());
    }
    if (!missingChannels.empty() || !missingBundles.empty()) {
        report = FormatString(IDS_SEARCH_REPORT, subsystem.c_str());
        if (!missingChannels.empty()) {
            report += "##### BLIX CH NOT FOUND #####\n";
            for (const std::string& line : missingChannels)
                report += line;
            report += "\n";
        }
        if (!missingBundles.empty()) {
            report += "##### BUNDLE NOT FOUND #####\n";
            for (const std::string& line : missingBundles)
                report += line;
        }
    }
    return group;
}

// ---- the dialog ----

CDlgExpProperty2* CDlgExpProperty2::CreateInstance(const void* key, QWidget* parent, std::unique_ptr<CDlgData> data)
{
    if (CDlgExpProperty2* open = GetInstance(key)) {
        // The key outlives documents: an open dialog over another project holds nothing the
        // user asks for now, so it goes and a new one is made over the project given.
        const CDaqProject* wanted = data && data->target ? data->target->daqProject : nullptr;
        if (open->m_data->target->daqProject == wanted) {
            if (open->IsInitialized())
                open->ShowAgain();
            return nullptr;
        }
        Instances().Close(key);
    }
    return Instances().RegisterNew(key, [&] {
        auto* dialog = new CDlgExpProperty2(std::move(data), parent);
        dialog->m_key = key;
        return dialog;
    });
}

CDlgExpProperty2::CDlgExpProperty2(std::unique_ptr<CDlgData> data, QWidget* parent, bool modal)
    : CZuDialog(parent, IDD), m_data(std::move(data)), m_modalVariant(modal)
{
    setObjectName("DlgExpProperty2");
    setWindowTitle("Measurement by Subsystem");
    auto* top = new QVBoxLayout(this);
    m_notConnected = new QLabel(this);
    m_notConnected->setObjectName(QStringLiteral("NotConnected"));
    m_notConnected->setWordWrap(true);
    m_notConnected->setStyleSheet(QStringLiteral("QLabel { background: #fff3b0; color: black; padding: 6px; }"));
    m_notConnected->setText(QString::fromStdString(LoadString(IDS_NO_UNIT_FOR_SUBSYSTEMS)));
    m_notConnected->hide();
    top->addWidget(m_notConnected);
    auto* form = new QGridLayout;
    m_date = new QLabel(this);
    m_date->setObjectName(QString("Control%1").arg(IDC_DATE));
    form->addWidget(new QLabel("Date:", this), 0, 0);
    form->addWidget(m_date, 0, 1);
    const char* labels[4] = {"Label:", "Text 1:", "Text 2:", "Note:"};
    for (int i = 0; i < 4; ++i) {
        m_texts[static_cast<size_t>(i)] = new QLineEdit(this);
        m_texts[static_cast<size_t>(i)]->setObjectName(QString("Control%1").arg(kTextIds[static_cast<size_t>(i)]));
        m_texts[static_cast<size_t>(i)]->setMinimumWidth(160);
        form->addWidget(new QLabel(labels[i], this), 1 + i / 2, (i % 2) * 2);
        form->addWidget(m_texts[static_cast<size_t>(i)], 1 + i / 2, (i % 2) * 2 + 1);
        connect(m_texts[static_cast<size_t>(i)], &QLineEdit::textChanged, this,
                [this, i](const QString& t) { m_data->texts[static_cast<size_t>(i)] = t.toStdString(); });
    }
    top->addLayout(form);
    m_list = new QTableWidget(0, 3, this);
    m_list->setObjectName(QString("Control%1").arg(IDC_LIST));
    m_list->setHorizontalHeaderLabels({"Subsystem", "Mass/Volume", "Sensors"});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->setVisible(false);
    m_list->setColumnWidth(0, 220);
    m_list->setColumnWidth(1, 120);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setMinimumSize(460, 200);
    connect(m_list, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling && item->column() == 0)
            OnItemChanged(item->row());
    });
    top->addWidget(m_list, 1);
    auto* row = new QHBoxLayout;
    const std::pair<int, const char*> buttons[] = {{IDC_ADD, "Add..."},         {IDC_DELETE, "Delete"},
                                                   {IDC_COPY, "Take Over..."},  {IDC_STATUS, "Unit Status..."},
                                                   {IDC_PICTURE, "Picture..."}, {IDC_TABLE, "Sensor Table..."}};
    for (const auto& [id, text] : buttons) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString("Control%1").arg(id));
        row->addWidget(b);
        m_buttons.emplace_back(id, b);
    }
    connect(Button(IDC_ADD), &QPushButton::clicked, this, &CDlgExpProperty2::OnAddSubsystem);
    connect(Button(IDC_DELETE), &QPushButton::clicked, this, &CDlgExpProperty2::DeleteSelectedRows);
    connect(Button(IDC_COPY), &QPushButton::clicked, this, &CDlgExpProperty2::OnTakeOver);
    connect(Button(IDC_STATUS), &QPushButton::clicked, this, [this] { ShowBlixStatusDialog(this); });
    connect(Button(IDC_PICTURE), &QPushButton::clicked, this, &CDlgExpProperty2::OnPicture);
    connect(Button(IDC_TABLE), &QPushButton::clicked, this, &CDlgExpProperty2::OnSensorTable);
    row->addStretch(1);
    top->addLayout(row);
    auto* box = CDialogButtons::OkCancel(this);
    top->addWidget(box);
    m_listener = AddObjectGoingListener([this](const void* object) { OnObjectGoing(object); });
}

CDlgExpProperty2::~CDlgExpProperty2()
{
    ClosePicker();
    RemoveObjectGoingListener(m_listener);
}

void CDlgExpProperty2::OnObjectGoing(const void* object)
{
    CTarget& target = *m_data->target;
    if (!target.daqProject || object != static_cast<const CMElement*>(target.daqProject))
        return;
    // The document of the project is closing: nothing of it may be reached any more, and the
    // dialog, kept per frame, goes with it.
    target.daqProject = nullptr;
    target.experiments.Clear();
    if (m_key && GetInstance(m_key) == this)
        Instances().Close(m_key);
    else if (!m_modalVariant) {
        hide();
        deleteLater();
    }
}

QPushButton* CDlgExpProperty2::Button(int id) const
{
    for (const auto& [i, b] : m_buttons)
        if (i == id)
            return b;
    return nullptr;
}

double CDlgExpProperty2::ValueOf(const std::string& subsystem) const
{
    return GetSubsystemParamByName(ContainerOf(*m_data), subsystem);
}

std::unique_ptr<CSensorGroup> CDlgExpProperty2::Search(const std::string& subsystem) const
{
    std::string report;
    auto group = m_data->SearchChannels(subsystem, report);
    if (!report.empty())
        AfxMessageBox(report, MB_OK);
    return group;
}

bool CDlgExpProperty2::OnInitDialog()
{
    SetUp();
    return true;
}

void CDlgExpProperty2::EnableControls(bool enable)
{
    for (const auto& [id, b] : m_buttons)
        b->setEnabled(enable);
    m_list->setEnabled(enable);
    for (QLineEdit* e : m_texts)
        e->setEnabled(enable);
    if (auto* box = findChild<QDialogButtonBox*>())
        box->button(QDialogButtonBox::Ok)->setEnabled(enable);
}

bool CDlgExpProperty2::SetUp()
{
    CWaitCursor wait;
    CTALVOProject* container = ContainerOf(*m_data);
    if (!m_data->target->daqProject)
        return false;
    m_connected = EnsureQMXConnection(container, 0, 1, this) != 0;
    EnableControls(m_connected);
    // With no unit at all the greyed dialog would not say why; a failed initialisation of
    // connected units has said so in its own box.
    const CMultiQMXInterface* units = CDAQ::GetMultiInterface();
    m_notConnected->setVisible(!m_connected && (!units || units->GetUnitCount() == 0));
    if (!m_connected)
        return false;
    m_data->items.clear();
    const std::string reference = container ? container->GetTargetSubsystem() : std::string();
    // Without a target there is no reference to list: OK then says so (Validate).
    if (!reference.empty())
        m_data->items.push_back(std::make_unique<CItem>(reference, ValueOf(reference), 1));
    std::tm tm{};
    const std::time_t t = static_cast<std::time_t>(m_data->date);
    char text[32] = "";
    if (localtime_r(&t, &tm))
        std::strftime(text, sizeof(text), "%m/%d/%Y", &tm); // the whole year, as every window shows it
    m_date->setText(text);
    for (int i = 0; i < 4; ++i) {
        QSignalBlocker block(m_texts[static_cast<size_t>(i)]);
        m_texts[static_cast<size_t>(i)]->setText(QString::fromStdString(m_data->texts[static_cast<size_t>(i)]));
    }
    if (CItem* item = m_data->GetReference())
        item->SetGroup(Search(reference));
    CBlixChDB* db = container ? container->GetBlixChDB() : nullptr;
    const int count = db && db->GetItemList() ? db->GetItemList()->GetSize() : 0;
    for (int i = 0; i < count; ++i) {
        const std::string name = db->GetItemList()->GetAt(i)->GetSubsystem();
        if (!name.empty() && name != reference)
            AddItem(name);
    }
    FillList();
    return true;
}

void CDlgExpProperty2::changeEvent(QEvent* event)
{
    CZuDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        m_notConnected->setText(QString::fromStdString(LoadString(IDS_NO_UNIT_FOR_SUBSYSTEMS)));
}

void CDlgExpProperty2::ShowAgain()
{
    showNormal();
    raise();
    // Units connected since the dialog was first shown make it usable now; with units it takes
    // the project's target as it is now.
    if (!m_connected)
        SetUp();
    else
        TakeProjectTarget();
}

void CDlgExpProperty2::TakeProjectTarget()
{
    CTALVOProject* container = ContainerOf(*m_data);
    if (!container || !m_connected)
        return;
    const std::string target = container->GetTargetSubsystem();
    CItem* reference = m_data->GetReference();
    if (reference ? reference->name == target : target.empty())
        return;
    auto& items = m_data->items;
    if (reference) {
        // The former reference stays as any other item when the channel database names it (a
        // dialog set up now would list it); otherwise it has no channels and goes.
        reference->fixed = 0;
        std::vector<CBlixChDB::CItem*> entries;
        if (CBlixChDB* db = container->GetBlixChDB(); db && db->GetItemList())
            db->GetItemList()->FindBySubsystem(reference->name, entries);
        if (entries.empty())
            items.erase(items.begin());
    }
    if (!target.empty()) {
        // An item listed for the new target keeps its channels and becomes the reference.
        auto at = std::find_if(items.begin(), items.end(), [&](const auto& item) { return item->name == target; });
        std::unique_ptr<CItem> item;
        if (at != items.end()) {
            item = std::move(*at);
            items.erase(at);
        } else {
            item = std::make_unique<CItem>(target, ValueOf(target), 1);
            item->SetGroup(Search(target));
        }
        item->fixed = 1;
        item->tick = 1;
        items.insert(items.begin(), std::move(item));
    }
    FillList();
}

CDlgExpProperty2::CItem* CDlgExpProperty2::AddItem(const std::string& subsystem)
{
    for (const auto& item : m_data->items)
        if (item->name == subsystem)
            return nullptr;
    m_data->items.push_back(std::make_unique<CItem>(subsystem, ValueOf(subsystem), 0));
    CItem* item = m_data->items.back().get();
    item->SetGroup(Search(subsystem));
    return item;
}

void CDlgExpProperty2::FillList()
{
    m_filling = true;
    m_list->setRowCount(static_cast<int>(m_data->items.size()));
    for (int r = 0; r < static_cast<int>(m_data->items.size()); ++r) {
        const CItem& item = *m_data->items[static_cast<size_t>(r)];
        auto* name = new QTableWidgetItem(QString::fromStdString(item.name));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        name->setCheckState(item.tick ? Qt::Checked : Qt::Unchecked);
        m_list->setItem(r, 0, name);
        m_list->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(Format("%.5f", item.value))));
        m_list->setItem(r, 2,
                        new QTableWidgetItem(QString::fromStdString(
                            Format("%d", item.GetGroup() ? item.GetGroup()->GetMemberCount() : 0))));
    }
    m_filling = false;
}

void CDlgExpProperty2::OnItemChanged(int row)
{
    if (row < 0 || row >= static_cast<int>(m_data->items.size()))
        return;
    CItem& item = *m_data->items[static_cast<size_t>(row)];
    const bool checked = m_list->item(row, 0)->checkState() == Qt::Checked;
    // The reference stays ticked.
    const bool reference = &item == m_data->GetReference();
    item.tick = checked || reference ? 1 : 0;
    if (reference && !checked) {
        m_filling = true;
        m_list->item(row, 0)->setCheckState(Qt::Checked);
        m_filling = false;
    }
}

void CDlgExpProperty2::DeleteSelectedRows()
{
    std::vector<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.rbegin(), rows.rend());
    for (int r : rows)
        if (r >= 0 && r < static_cast<int>(m_data->items.size()) && !m_data->items[static_cast<size_t>(r)]->fixed)
            m_data->items.erase(m_data->items.begin() + r);
    FillList();
}

void CDlgExpProperty2::OnAddSubsystem()
{
    if (m_picker) {
        m_picker->showNormal();
        m_picker->raise();
        return;
    }
    CTALVOProject* container = ContainerOf(*m_data);
    auto* picker = new CDlgSelectSubsystem(container ? container->GetModelProject() : nullptr, this);
    // The picker offers what it is given: every subsystem of the model. Items carry the model's
    // names as the unit channel database does, so no wave suffix is added.
    if (const CZuSubsystemTable* all = container ? container->GetModelSubsystemTable() : nullptr)
        picker->SetSubsystemTable(*all, 0);
    picker->EnableWaveType(false);
    // It stays open: each Add reports one subsystem, Close ends it.
    picker->SetModeless(true, this, 0);
    m_picker = picker;
    picker->Create();
}

void CDlgExpProperty2::ClosePicker()
{
    if (m_picker) {
        CDlgSelectSubsystem* picker = m_picker;
        m_picker = nullptr;
        picker->DestroyWindow();
    }
}

intptr_t CDlgExpProperty2::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t)
{
    if (msg != WM_ZU_SUBSYSTEM_PICKED || !m_picker)
        return 0;
    if (wParam == kPickerCancel) {
        ClosePicker();
        return 0;
    }
    if (!m_picker->m_strName.empty())
        OnSubsystemsChosen({m_picker->m_strName});
    return 0;
}

void CDlgExpProperty2::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    QMetaObject::invokeMethod(
        this, [this, msg, wParam, lParam] { SendMessage(msg, wParam, lParam); }, Qt::QueuedConnection);
}

void CDlgExpProperty2::OnSubsystemsChosen(const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        auto at = std::find_if(m_data->items.begin(), m_data->items.end(),
                               [&](const auto& item) { return item->name == name; });
        // A listed subsystem is searched again: its channels may have been assigned meanwhile.
        CItem* item = at != m_data->items.end() ? at->get() : AddItem(name);
        if (at != m_data->items.end())
            item->SetGroup(Search(name));
        FillList();
        if (!item->GetGroup() || item->GetGroup()->GetMemberCount() == 0)
            AfxFormatMessageBox(IDS_SUBSYSTEM_NO_CHANNELS, MB_OK | MB_ICONEXCLAMATION, name.c_str());
    }
}

void CDlgExpProperty2::OnTakeOver()
{
    CDaqProject* daq = m_data->target->daqProject;
    if (!daq || AfxMessageBox(IDS_TAKE_OVER_PREVIOUS_DATA, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const std::string reference = m_data->GetReference() ? m_data->GetReference()->name : std::string();
    for (auto& item : m_data->items) {
        if (item->fixed)
            continue;
        CTALVOExp* exp = daq->FindExp(item->name, reference);
        auto* last = exp && exp->GetChildCount() > 0
                         ? dynamic_cast<IDaqExperimentData*>(exp->GetChild(exp->GetChildCount() - 1))
                         : nullptr;
        const CExpInfo* info = last ? last->GetExpInfo() : nullptr;
        if (!info)
            continue;
        if (const CSensorGroup* g = info->GetSensorGroup(0))
            item->SetGroup(g->Clone());
        if (const CSensorGroup* g = info->GetSensorGroup(1); g && m_data->GetReference())
            m_data->GetReference()->SetGroup(g->Clone());
        m_data->texts[0] = info->GetLabel();
        m_data->texts[3] = info->GetNote();
    }
    for (int i = 0; i < 4; ++i)
        m_texts[static_cast<size_t>(i)]->setText(QString::fromStdString(m_data->texts[static_cast<size_t>(i)]));
    FillList();
}

int CDlgExpProperty2::Validate()
{
    CTALVOProject* container = ContainerOf(*m_data);
    CSensorProject* sensors = container ? container->GetSensorProject() : nullptr;
    if (!m_data->GetReference()) {
        AfxMessageBox(IDS_NO_TARGET_SUBSYSTEM, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    int ticks = 0;
    for (const auto& item : m_data->items)
        ticks += item->tick;
    if (ticks <= 1) {
        AfxMessageBox(IDS_TICK_MORE, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    auto fail = [](uint32_t id, auto... args) {
        AfxFormatMessageBox(id, MB_OK | MB_ICONEXCLAMATION, args...);
        return 0;
    };
    std::vector<const CItem*> ticked;
    for (const auto& item : m_data->items)
        if (item->tick)
            ticked.push_back(item.get());
    for (const CItem* item : ticked) {
        const char* name = item->name.c_str();
        const CSensorGroup* group = item->GetGroup();
        if (!group || group->GetMemberCount() == 0)
            return fail(IDS_NO_GROUP, name);
        // Every bundle is looked up, also a single one.
        const std::vector<int32_t>& bundles = group->GetBundles();
        for (size_t a = 0; a < bundles.size(); ++a) {
            const CSensorBundle* ba = sensors ? sensors->FindBundleByNo(bundles[a]) : nullptr;
            if (!ba)
                return fail(IDS_UNKNOWN_BUNDLE, name);
            for (size_t b = a + 1; b < bundles.size(); ++b) {
                const CSensorBundle* bb = sensors->FindBundleByNo(bundles[b]);
                if (!bb)
                    return fail(IDS_UNKNOWN_BUNDLE, name);
                if (ba->GetID() == bb->GetID())
                    return fail(IDS_BUNDLE_TWICE, name, ba->GetID().c_str());
                if (ba->GetBundleID() == bb->GetBundleID())
                    return fail(IDS_BUNDLE_ID_TWICE, name, ba->GetBundleID().c_str());
            }
        }
        const int kind =
            container && container->IsStructure(item->name) ? SENSOR_DATATYPE_ACCELERATION : SENSOR_DATATYPE_PRESSURE;
        // Every member is checked, also the last one.
        for (int i = 0; i < group->GetMemberCount(); ++i) {
            const tagSENSORGROUPMEMBER m = group->GetMember(i);
            const CSensor* sensor = sensors ? sensors->FindSensor(m.text) : nullptr;
            if (!sensor)
                return fail(IDS_SENSOR_UNKNOWN, name, m.text.c_str());
            if (sensor->GetSensorInfo().ChannelInfo.DataType != kind)
                return fail(IDS_SENSOR_KIND, name, m.text.c_str());
            for (int j = 0; j < i; ++j)
                if (group->GetMember(j).channel == m.channel)
                    return fail(IDS_CHANNEL_TWICE, name, m.channel + 1);
            for (int j = i + 1; j < group->GetMemberCount(); ++j)
                if (group->GetMember(j).text == m.text)
                    return fail(IDS_SENSOR_TWICE, name, m.text.c_str());
        }
    }
    for (size_t a = 0; a < ticked.size(); ++a) {
        const CSensorGroup* ga = ticked[a]->GetGroup();
        for (size_t b = 0; b < ticked.size(); ++b) {
            if (a == b)
                continue;
            const CSensorGroup* gb = ticked[b]->GetGroup();
            const char* na = ticked[a]->name.c_str();
            const char* nb = ticked[b]->name.c_str();
            if (b < a)
                for (int i = 0; i < ga->GetMemberCount(); ++i)
                    for (int j = 0; j < gb->GetMemberCount(); ++j)
                        if (ga->GetMember(i).channel == gb->GetMember(j).channel)
                            return fail(IDS_CHANNEL_OTHER, na, ga->GetMember(i).channel);
            for (int32_t x : ga->GetBundles())
                for (int32_t y : gb->GetBundles()) {
                    const CSensorBundle* bx = sensors->FindBundleByNo(x);
                    const CSensorBundle* by = sensors->FindBundleByNo(y);
                    if (x == y && bx)
                        return fail(IDS_SAME_BUNDLE_OTHER, na, nb, bx->GetID().c_str());
                    if (bx && by && bx->GetBundleID() == by->GetBundleID())
                        return fail(IDS_SAME_BUNDLE_ID_OTHER, na, nb, bx->GetBundleID().c_str());
                }
            for (int i = 0; i < ga->GetMemberCount(); ++i)
                for (int j = 0; j < gb->GetMemberCount(); ++j)
                    if (ga->GetMember(i).text == gb->GetMember(j).text)
                        return fail(IDS_SAME_SENSOR_OTHER, na, nb, ga->GetMember(i).text.c_str());
        }
    }
    for (CMElement* e : m_data->target->experiments) {
        auto* data = dynamic_cast<IDaqExperimentData*>(e);
        const CExpInfo* info = data ? data->GetExpInfo() : nullptr;
        const auto* inventory = info ? dynamic_cast<const CQmxBlixChMgr*>(info->GetHardwareInventory()) : nullptr;
        if (!inventory || !inventory->HasHardware()) {
            AfxMessageBox(IDS_NO_HARDWARE, MB_OK | MB_ICONEXCLAMATION);
            return 0;
        }
    }
    return 1;
}

void CDlgExpProperty2::OnPicture()
{
    CTALVOProject* container = ContainerOf(*m_data);
    CDlgSelectSubsystem dialog(container ? container->GetModelProject() : nullptr, this);
    if (const CZuSubsystemTable* all = container ? container->GetModelSubsystemTable() : nullptr)
        dialog.SetSubsystemTable(*all, 0);
    dialog.EnableWaveType(false);
    if (dialog.DoModal() != IDOK || dialog.m_strName.empty())
        return;
    CDlgDaqPicture pictures(dialog.m_strName, GetWorkFolderPath(container), this);
    pictures.DoModal();
}

CDlgSubsystemSensorTable* CDlgExpProperty2::OnSensorTable()
{
    CTALVOProject* container = ContainerOf(*m_data);
    CDlgSubsystemSensorTable* table = CDlgSubsystemSensorTable::CreateInstance(this, this);
    if (!table) {
        CDlgSubsystemSensorTable* open = CDlgSubsystemSensorTable::GetInstance(this);
        if (open) {
            open->showNormal();
            open->raise();
        }
        return open;
    }
    CDlgSubsystemSensorTable::CDlgData data;
    data.project = container;
    data.sensors = container ? container->GetSensorProject() : nullptr;
    data.systemChannels = GetSystemChannelCount(container);
    for (const auto& item : m_data->items)
        data.subsystems.push_back(
            {item->name, item->GetGroup(), m_data->inventory, !container || container->IsStructure(item->name) != 0});
    table->SetData(std::move(data));
    // After OK every item takes the channels the table gives its subsystem.
    QPointer<CDlgSubsystemSensorTable> guard(table);
    table->onClosed = [this, guard](int code) {
        if (code != 1 || !guard)
            return;
        for (auto& item : m_data->items)
            if (std::unique_ptr<CSensorGroup> group = guard->LookupSubsystem(item->name))
                item->SetGroup(std::move(group));
        FillList();
    };
    table->Create();
    return table;
}

void CDlgExpProperty2::OnOK()
{
    // The target may have been set under View > Target and Sources since the items were made.
    TakeProjectTarget();
    if (!Validate())
        return;
    if (m_data->target->noPictureCheck == 0) {
        CZuSubsystemTable ticked;
        for (const auto& item : m_data->items)
            if (item->tick)
                ticked.Add(item->name);
        CDlgCheckExpPics check(&ticked, GetWorkFolderPath(ContainerOf(*m_data)), this);
        check.DoModal();
    }
    if (m_modalVariant) {
        CZuDialog::OnOK();
        return;
    }
    ClosePicker();
    hide();
    IDAQSystemDocument* doc = GetTALVOApp().OpenDAQSystemView(1);
    if (!doc) {
        AfxMessageBox(IDS_NO_WINDOW, MB_OK | MB_ICONEXCLAMATION);
        show();
        return;
    }
    const CItem& reference = *m_data->GetReference(); // Validate made sure of it
    std::vector<CExpInfo> infos;
    for (const auto& item : m_data->items) {
        if (!item->tick || item->fixed)
            continue;
        CExpInfo info;
        info.SetName(1, reference.name);
        info.SetValue(1, reference.value);
        info.SetName(0, item->name);
        info.SetValue(0, item->value);
        info.SetInt(0, -1);
        info.SetInt(1, -1);
        if (reference.GetGroup())
            info.SetSensorGroup(1, *reference.GetGroup());
        if (item->GetGroup())
            info.SetSensorGroup(0, *item->GetGroup());
        info.SetTime(m_data->date);
        info.SetLabel(m_data->texts[0]);
        info.SetNote(m_data->texts[3]);
        if (m_data->inventory)
            info.SetHardwareInventory(*m_data->inventory);
        infos.push_back(info);
    }
    std::vector<CExpInfo*> list;
    for (CExpInfo& info : infos)
        list.push_back(&info);
    auto* expDoc = dynamic_cast<CExpDoc*>(doc);
    CDaqProject* daq = m_data->target->daqProject;
    if (!daq || !daq->OpenDAQSystemDoc(doc, list) || !expDoc || !expDoc->SetupChannels()) {
        AfxMessageBox(IDS_SETUP_FAILED, MB_OK | MB_ICONEXCLAMATION);
        show();
        return;
    }
    DestroyWindow();
}

void CDlgExpProperty2::OnCancel()
{
    ClosePicker();
    if (m_modalVariant) {
        CZuDialog::OnCancel();
        return;
    }
    hide();
}
