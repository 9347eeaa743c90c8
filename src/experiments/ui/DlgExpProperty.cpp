#include "experiments/ui/DlgExpProperty.h"

#include "app/DaqProject.h"
#include "app/DAQExperiment.h"
#include "app/TALVOApp.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "common/ProjectLookups.h"
#include "experiments/ExpInfo.h"
#include "experiments/Sensor.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/ExpDoc.h"
#include "platform/base/Format.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/ui/CmbEx.h"
#include "platform/ui/FlexGridEx.h"
#include "platform/win/Messages.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "platform/ui/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <ctime>
#include <set>

namespace {

// Colour table of the highlight, blue to red.
constexpr float kColors[16][3] = {{0, 0, 1},     {0, 0.26f, 1}, {0, 0.53f, 1}, {0, 0.8f, 1},
                                  {0, 1, 0.94f}, {0, 1, 0.68f}, {0, 1, 0.39f}, {0, 1, 0.13f},
                                  {0.13f, 1, 0}, {0.39f, 1, 0}, {0.68f, 1, 0}, {0.94f, 1, 0},
                                  {1, 0.8f, 0},  {1, 0.53f, 0}, {1, 0.26f, 0}, {1, 0, 0}};

// One dialog per key object; a dialog over an element closes when the element goes.
CTALVOProject* ContainerOf(CDaqProject* project)
{
    return project ? project->GetOwner() : nullptr;
}
} // namespace

// ---- one dialog per key ----

CDlgExpProperty* CDlgExpProperty::CreateInstance(const void* key, QWidget* parent)
{
    if (CDlgExpProperty* open = GetInstance(key)) {
        // One still being set up by its opener is not shown before it is ready.
        if (open->IsInitialized()) {
            open->showNormal();
            open->raise();
        }
        return nullptr;
    }
    return Instances().RegisterNew(key, [parent] { return new CDlgExpProperty(parent); });
}

CDlgExpProperty::CDlgExpProperty(QWidget* parent, bool modal) : CZuDialog(parent, IDD), m_modalVariant(modal)
{
    setObjectName("DlgExpProperty");
    setWindowTitle("Experiment Properties");
    BuildLayout();
}

CDlgExpProperty::~CDlgExpProperty() = default;

// The modal variant lives on its caller's stack and blocks while it runs, so there is never a
// second one to find; the registry (which deletes its dialogs) does not hold it.
CDlgExpProperty::CModal::CModal(QWidget* parent) : CDlgExpProperty(parent, true) {}

CDlgExpProperty::CModal::~CModal() = default;

void CDlgExpProperty::SetDAQProject(IDaqProjectAccess* project)
{
    m_daqProjectAccess = project;
    m_daqProject = dynamic_cast<CDaqProject*>(project);
}

void CDlgExpProperty::BuildLayout()
{
    auto* top = new QVBoxLayout(this);
    auto* texts = new QGroupBox("Measurement", this);
    auto* form = new QGridLayout(texts);
    m_date = new QLabel(texts);
    m_date->setObjectName(QString("Control%1").arg(IDC_DATE));
    m_date->setMinimumWidth(100);
    form->addWidget(new QLabel("Date:", texts), 0, 0);
    form->addWidget(m_date, 0, 1);
    const char* labels[8] = {"Text 1:", "Text 2:", "Text 3:", "Label:", "Text 5:", "Text 6:", "Note:", "Text 8:"};
    for (int i = 0; i < 8; ++i) {
        m_texts[static_cast<size_t>(i)] = new QLineEdit(texts);
        m_texts[static_cast<size_t>(i)]->setObjectName(QString("Control%1").arg(kTextIds[static_cast<size_t>(i)]));
        m_texts[static_cast<size_t>(i)]->setMinimumWidth(160);
        const int row = 1 + i / 2;
        const int col = (i % 2) * 2;
        form->addWidget(new QLabel(labels[i], texts), row, col);
        form->addWidget(m_texts[static_cast<size_t>(i)], row, col + 1);
    }
    top->addWidget(texts);

    m_expGrid = new CFlexGridEx(this);
    m_expGrid->setObjectName(QString("Control%1").arg(IDC_EXP_GRID));
    m_expGrid->setMinimumHeight(130);
    m_expGrid->SetBeforeEditCallback([this](uintptr_t cell) { return CanEditCell(cell); });
    m_expGrid->SetBeforeDeleteCallback([this] { return CanClearSelection(); });
    connect(m_expGrid, &CFlexGridEx::Notify, this, &CDlgExpProperty::OnGridNotify);
    top->addWidget(m_expGrid, 1);

    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(new QLabel("Channels:", this));
    m_pages = new QComboBox(this);
    m_pages->setObjectName(QString("Control%1").arg(IDC_PAGES));
    m_pages->setMinimumWidth(130);
    connect(m_pages, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { FillChannelGrid(); });
    pageRow->addWidget(m_pages);
    pageRow->addStretch(1);
    m_takeOver = new QPushButton("Take Over...", this);
    m_takeOver->setObjectName(QString("Control%1").arg(IDC_TAKE_OVER));
    connect(m_takeOver, &QPushButton::clicked, this, &CDlgExpProperty::OnTakeOver);
    pageRow->addWidget(m_takeOver);
    top->addLayout(pageRow);

    m_channelGrid = new CFlexGridEx(this);
    m_channelGrid->setObjectName(QString("Control%1").arg(IDC_CHANNEL_GRID));
    m_channelGrid->setMinimumHeight(110);
    top->addWidget(m_channelGrid, 1);

    auto* buttons = CDialogButtons::OkCancel(this);
    top->addWidget(buttons);
    resize(760, 600);
}

int CDlgExpProperty::GetChannelCount() const
{
    const IProjectLookups* lookups = IProjectLookups::FindOwner(m_daqProject);
    const int n = lookups ? GetSystemChannelCount(lookups) : 0;
    return n > 0 ? n : CSensorGroup::kDefaultChannelCount;
}

std::vector<std::pair<int, int>> CDlgExpProperty::Pages() const
{
    // The last page takes the channels left over, so every channel is on a page.
    std::vector<std::pair<int, int>> pages;
    const int count = GetChannelCount();
    for (int first = 0; first < count; first += m_perPage)
        pages.emplace_back(first, std::min(first + m_perPage, count) - 1);
    return pages;
}

bool CDlgExpProperty::OnInitDialog()
{
    m_infos.RemoveAll();
    for (CMElement* e : m_experiments) {
        auto* data = dynamic_cast<IDaqExperimentData*>(e);
        if (data && data->GetExpInfo())
            m_infos.AddTail(*data->GetExpInfo());
    }
    if (m_infos.empty()) {
        CExpInfo info;
        info.SetTime(static_cast<int64_t>(std::time(nullptr)));
        // A new measurement is referred to the project's target subsystem.
        if (m_mode == modeNew && m_daqProject) {
            const std::string target = m_daqProject->GetTargetSubsystemName();
            info.SetName(1, target);
            info.SetValue(1, ValueOf(target));
        }
        m_infos.AddTail(info);
    }
    m_expGrid->SetEditFlags(m_mode == modeNew ? CFlexGridEx::kEditable : 0);
    FillPageCombo();
    FillGrids();
    LoadControls();
    const bool takeOverAllowed = GetRegOptionByStringId(IDS_NO_TAKE_OVER_OPTION) == 0;
    m_takeOver->setEnabled((m_mode == modeStored || m_mode == modeReadOnly) && takeOverAllowed);
    if (m_mode == modeReadOnly)
        for (QLineEdit* edit : m_texts)
            edit->setReadOnly(true);
    if (m_mode == modeNew)
        StartHighlight();
    return true;
}

void CDlgExpProperty::FillPageCombo()
{
    QSignalBlocker block(m_pages);
    m_pages->clear();
    for (const auto& [first, last] : Pages())
        m_pages->addItem(QString::fromStdString(Format("Ch%d - Ch%d", first + 1, last + 1)), (last << 16) | first);
    m_pages->setCurrentIndex(m_pages->count() > 0 ? 0 : -1);
}

void CDlgExpProperty::FillGrids()
{
    FillExperimentGrid();
    FillChannelGrid();
}

CExpInfo* CDlgExpProperty::InfoAt(int index)
{
    if (index < 0 || index >= m_infos.GetCount())
        return nullptr;
    auto it = m_infos.begin();
    std::advance(it, index);
    return &*it;
}

void CDlgExpProperty::FillExperimentGrid()
{
    const bool singleEmpty = m_infos.GetCount() == 1 && m_infos.front().GetName(0).empty();
    const int infoRows = singleEmpty ? 0 : m_infos.GetCount();
    const int rows = 1 + 1 + infoRows + 1;
    m_expGrid->SetRows(rows);
    m_expGrid->SetCols(5);
    m_expGrid->SetFixedRows(1);
    m_expGrid->SetFixedCols(1);
    m_expGrid->SetColWidth(0, 30);
    m_expGrid->SetColWidth(1, 200);
    for (int c = 2; c < 5; ++c)
        m_expGrid->SetColWidth(c, 110);
    m_expGrid->SetTextMatrix(0, 0, "");
    for (int c = 1; c < 5; ++c)
        m_expGrid->SetTextMatrix(0, c, LoadString(IDS_COLUMN_FIRST + static_cast<uint32_t>(c - 1)));
    auto fillRow = [&](int row, const CExpInfo* info, int part) {
        m_expGrid->SetTextMatrix(row, 0, Format("%d", row));
        if (!info) {
            for (int c = 1; c < 5; ++c)
                m_expGrid->SetTextMatrix(row, c, "");
            return;
        }
        m_expGrid->SetTextMatrix(row, 1, info->GetName(part));
        const double value = info->GetValue(part);
        m_expGrid->SetTextMatrix(row, 2, value > 0.0 ? Format("%f", value) : std::string());
        const int number = info->GetInt(part);
        m_expGrid->SetTextMatrix(row, 3, number >= 0 ? Format("%d", number + 1) : std::string());
        const CSensorGroup* group = info->GetSensorGroup(part);
        const int members = group ? group->GetMemberCount() : 0;
        m_expGrid->SetTextMatrix(row, 4, members > 0 ? Format("%d", members) : std::string());
    };
    fillRow(1, &m_infos.front(), 1);
    int row = 2;
    if (!singleEmpty)
        for (const CExpInfo& info : m_infos)
            fillRow(row++, &info, 0);
    fillRow(row, nullptr, 0);
}

void CDlgExpProperty::FillChannelGrid()
{
    const int data = m_pages->currentIndex() >= 0 ? m_pages->currentData().toInt() : 0;
    const int first = data & 0xFFFF;
    const int last = (data >> 16) & 0xFFFF;
    const int width = m_pages->currentIndex() >= 0 ? last - first + 1 : m_perPage;
    m_channelGrid->SetRows(2 + m_infos.GetCount());
    m_channelGrid->SetCols(width + 1);
    m_channelGrid->SetFixedRows(1);
    m_channelGrid->SetFixedCols(1);
    m_channelGrid->SetColWidth(0, 30);
    for (int c = 1; c <= width; ++c) {
        m_channelGrid->SetColWidth(c, 52);
        m_channelGrid->SetTextMatrix(0, c, Format("Ch %d", first + c));
    }
    auto fillRow = [&](int row, const CSensorGroup* group) {
        m_channelGrid->SetTextMatrix(row, 0, Format("%d", row));
        for (int c = 1; c <= width; ++c)
            m_channelGrid->SetTextMatrix(row, c, "");
        for (int i = 0; group && i < group->GetMemberCount(); ++i) {
            const tagSENSORGROUPMEMBER m = group->GetMember(i);
            if (m.channel >= first && m.channel < first + width)
                m_channelGrid->SetTextMatrix(row, m.channel - first + 1, Format("%d-%d", m.bundle + 1, m.slot + 1));
        }
    };
    fillRow(1, m_infos.front().GetSensorGroup(1));
    int row = 2;
    for (const CExpInfo& info : m_infos)
        fillRow(row++, info.GetSensorGroup(0));
}

void CDlgExpProperty::LoadControls()
{
    const std::time_t t = static_cast<std::time_t>(m_infos.front().GetTime());
    std::tm tm{};
    char text[32] = "";
    if (t > 0 && localtime_r(&t, &tm))
        std::strftime(text, sizeof(text), "%m/%d/%Y", &tm);
    m_date->setText(text);
    for (int n = 1; n <= 8; ++n)
        TextEdit(n)->setText(QString::fromStdString(m_infos.front().GetText(n)));
}

std::string CDlgExpProperty::RowName(int row) const
{
    return m_expGrid->GetTextMatrix(row, 1);
}

int CDlgExpProperty::CanEditCell(uintptr_t cell) const
{
    if (m_mode != modeNew)
        return 0;
    const int col = static_cast<int>((cell >> 16) & 0xFFFF);
    const int row = static_cast<int>(cell & 0xFFFF);
    if (col == 1)
        return row > m_expGrid->GetFixedRows() ? 1 : 0;
    if (col == 3)
        return RowName(row).empty() ? 0 : 1;
    return 0;
}

int CDlgExpProperty::CanClearSelection() const
{
    if (m_mode != modeNew)
        return 0;
    const QModelIndexList selected =
        m_expGrid->selectionModel() ? m_expGrid->selectionModel()->selectedIndexes() : QModelIndexList();
    QModelIndexList cells = selected;
    if (cells.isEmpty())
        cells.push_back(m_expGrid->currentIndex());
    for (const QModelIndex& index : cells) {
        const int row = index.row();
        const int col = index.column();
        const bool ok = (row == 1 && col == 3) || (row >= 2 && (col == 1 || col == 3));
        if (!ok)
            return 0;
    }
    return 1;
}

double CDlgExpProperty::ValueOf(const std::string& subsystem) const
{
    return GetSubsystemParamByName(IProjectLookups::FindOwner(m_daqProject), subsystem);
}

CSensorGroup* CDlgExpProperty::SensorGroupByIndex(int index) const
{
    CSensorProject* sensors = m_daqProject ? m_daqProject->GetSensorProject() : nullptr;
    return sensors && index >= 0 ? sensors->GetGroup(index) : nullptr;
}

QStringList CDlgExpProperty::DropDownEntries(int row, int col) const
{
    QStringList entries{QString()};
    std::set<std::string> used;
    for (int r = 1; r < m_expGrid->GetRows(); ++r)
        if (r != row)
            used.insert(m_expGrid->GetTextMatrix(r, col));
    if (col == 1) {
        CTALVOProject* container = ContainerOf(m_daqProject);
        const CZuSubsystemTable* table = container ? container->GetModelSubsystemTable() : nullptr;
        for (int i = 0; table && i < table->GetCount(); ++i)
            if (!used.count((*table)[i]))
                entries << QString::fromStdString((*table)[i]);
    } else if (col == 3) {
        CSensorProject* sensors = m_daqProject ? m_daqProject->GetSensorProject() : nullptr;
        const std::string name = RowName(row);
        const int kind =
            m_daqProject && m_daqProject->IsStructure(name) ? SENSOR_DATATYPE_ACCELERATION : SENSOR_DATATYPE_PRESSURE;
        for (int g = 0; sensors && g < sensors->GetGroupCount(); ++g) {
            const CSensorGroup* group = sensors->GetGroup(g);
            bool fits = true;
            for (int i = 0; group && i < group->GetMemberCount(); ++i) {
                const CSensor* sensor = sensors->FindSensor(group->GetMember(i).text);
                if (!sensor || sensor->GetSensorInfo().ChannelInfo.DataType != kind)
                    fits = false;
            }
            const std::string number = Format("%d", g + 1);
            if (fits && !used.count(number))
                entries << QString::fromStdString(number);
        }
    }
    return entries;
}

void CDlgExpProperty::OnGridNotify(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    const int col = static_cast<int>((wParam >> 16) & 0xFFFF);
    const int row = static_cast<int>(wParam & 0xFFFF);
    if (msg == WM_FLEX_BEGIN_EDIT) {
        if (auto* combo = reinterpret_cast<CCmbEx*>(lParam)) {
            combo->clear();
            combo->addItems(DropDownEntries(row, col));
        }
    } else if (msg == WM_FLEX_END_EDIT) {
        const char* text = reinterpret_cast<const char*>(lParam);
        OnCellChanged(row, col, text ? std::string(text) : std::string());
    }
}

void CDlgExpProperty::OnCellChanged(int row, int col, const std::string& text)
{
    if (col == 1 && row >= 2) {
        const int index = row - 2;
        const bool singleEmpty = m_infos.GetCount() == 1 && m_infos.front().GetName(0).empty();
        CExpInfo* info = singleEmpty && index == 0 ? &m_infos.front() : InfoAt(index);
        if (info && !(singleEmpty && index > 0)) {
            if (!text.empty()) {
                info->SetName(0, text);
                info->SetValue(0, ValueOf(text));
                info->SetInt(0, -1);
                info->SetSensorGroup(0, CSensorGroup());
            } else if (m_infos.GetCount() > 1) {
                auto it = m_infos.begin();
                std::advance(it, index);
                m_infos.erase(it);
            } else {
                info->SetName(0, std::string());
                info->SetValue(0, 0.0);
                info->SetInt(0, -1);
                info->SetSensorGroup(0, CSensorGroup());
            }
        } else if (!text.empty()) {
            CExpInfo added;
            added.SetName(0, text);
            added.SetValue(0, ValueOf(text));
            added.SetInt(0, -1);
            const CExpInfo& first = m_infos.front();
            added.SetName(1, first.GetName(1));
            added.SetValue(1, first.GetValue(1));
            added.SetInt(1, first.GetInt(1));
            if (first.GetSensorGroup(1))
                added.SetSensorGroup(1, *first.GetSensorGroup(1));
            added.SetTime(first.GetTime());
            m_infos.AddTail(added);
        }
    } else if (col == 3) {
        const int number = text.empty() ? -1 : std::atoi(text.c_str()) - 1;
        const CSensorGroup* group = SensorGroupByIndex(number);
        auto apply = [&](CExpInfo& info, int part) {
            info.SetInt(part, number);
            info.SetSensorGroup(part, group ? *group : CSensorGroup());
        };
        if (row == 1) {
            for (CExpInfo& info : m_infos)
                apply(info, 1);
        } else if (CExpInfo* info = InfoAt(row - 2)) {
            apply(*info, 0);
        }
    }
    FillGrids();
}

int CDlgExpProperty::Validate()
{
    const CExpInfo& first = m_infos.front();
    auto checkPart = [](const CExpInfo& info, int part) {
        if (info.GetName(part).empty()) {
            AfxMessageBox(IDS_NAME_EMPTY, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if (info.GetInt(part) < 0) {
            AfxFormatMessageBox(IDS_NUMBER_MISSING, MB_OK | MB_ICONEXCLAMATION, info.GetName(part).c_str());
            return false;
        }
        return true;
    };
    if (!checkPart(first, 1))
        return 0;
    for (const CExpInfo& info : m_infos)
        if (!checkPart(info, 0))
            return 0;
    std::vector<const CSensorGroup*> groups{first.GetSensorGroup(1)};
    for (const CExpInfo& info : m_infos)
        groups.push_back(info.GetSensorGroup(0));
    std::set<int> channels;
    for (const CSensorGroup* group : groups)
        for (int i = 0; group && i < group->GetMemberCount(); ++i)
            if (!channels.insert(group->GetMember(i).channel).second) {
                AfxFormatMessageBox(IDS_CHANNEL_NUMBER_TWICE, MB_OK | MB_ICONEXCLAMATION,
                                    group->GetMember(i).channel + 1);
                return 0;
            }
    std::set<std::string> texts;
    for (const CSensorGroup* group : groups)
        for (int i = 0; group && i < group->GetMemberCount(); ++i)
            if (!texts.insert(group->GetMember(i).text).second) {
                AfxFormatMessageBox(IDS_TEXT_TWICE, MB_OK | MB_ICONEXCLAMATION, group->GetMember(i).text.c_str());
                return 0;
            }
    return 1;
}

void CDlgExpProperty::StoreControls()
{
    const int64_t time = m_infos.front().GetTime();
    for (CExpInfo& info : m_infos) {
        info.SetTime(time);
        for (int n = 1; n <= 8; ++n)
            info.SetText(n, TextEdit(n)->text().toStdString());
    }
}

void CDlgExpProperty::OnOK()
{
    if (m_modalVariant) {
        CZuDialog::OnOK();
        return;
    }
    if (m_mode == modeNew) {
        if (!Validate())
            return;
        const CExpInfo first = m_infos.front();
        for (CExpInfo& info : m_infos) {
            info.SetName(1, first.GetName(1));
            info.SetValue(1, first.GetValue(1));
            info.SetInt(1, first.GetInt(1));
            info.SetSensorGroup(1, first.GetSensorGroup(1) ? *first.GetSensorGroup(1) : CSensorGroup());
        }
        StoreControls();
        hide();
        IDAQSystemDocument* doc = GetTALVOApp().OpenDAQSystemView(1);
        if (!doc) {
            AfxMessageBox(IDS_NO_WINDOW, MB_OK | MB_ICONEXCLAMATION);
            // The user's entries are still there to try again.
            show();
            return;
        }
        std::vector<CExpInfo*> list;
        for (CExpInfo& info : m_infos)
            list.push_back(&info);
        auto* expDoc = dynamic_cast<CExpDoc*>(doc);
        if (!m_daqProject || !m_daqProject->OpenDAQSystemDoc(doc, list) || !expDoc || !expDoc->SetupChannels()) {
            AfxMessageBox(IDS_SETUP_FAILED, MB_OK | MB_ICONEXCLAMATION);
            show();
            return;
        }
        DestroyWindow();
        return;
    }
    if (m_mode == modeStored) {
        bool changed = false;
        for (CMElement* e : m_experiments) {
            auto* data = dynamic_cast<IDaqExperimentData*>(e);
            CExpInfo* info = data ? data->GetExpInfo() : nullptr;
            if (!info)
                continue;
            for (int n = 1; n <= 8; ++n) {
                const std::string text = TextEdit(n)->text().toStdString();
                if (info->GetText(n) != text) {
                    info->SetText(n, text);
                    changed = true;
                }
            }
        }
        if (changed && m_opener)
            m_opener->SendMessage(WM_ZU_SET_MODIFIED, 1, 0);
    }
    DestroyWindow();
}

void CDlgExpProperty::OnCancel()
{
    if (m_timer)
        m_timer->stop();
    CZuDialog::OnCancel();
}

void CDlgExpProperty::OnTakeOver()
{
    if (AfxMessageBox(IDS_TAKE_OVER_STORED_SETTINGS, MB_YESNO | MB_ICONQUESTION) != IDYES || !m_daqProject)
        return;
    for (CExpInfo& info : m_infos) {
        CTALVOExp* exp = m_daqProject->FindExp(info.GetName(0), info.GetName(1));
        if (!exp || exp->GetChildCount() == 0)
            continue;
        auto* last = dynamic_cast<IDaqExperimentData*>(exp->GetChild(exp->GetChildCount() - 1));
        const CExpInfo* stored = last ? last->GetExpInfo() : nullptr;
        if (!stored)
            continue;
        for (int part = 0; part < 2; ++part) {
            info.SetInt(part, stored->GetInt(part));
            if (stored->GetSensorGroup(part))
                info.SetSensorGroup(part, *stored->GetSensorGroup(part));
        }
        for (int n = 1; n <= 8; ++n)
            info.SetText(n, stored->GetText(n));
    }
    FillGrids();
    LoadControls();
}

// ---- 3D highlight ----

void CDlgExpProperty::StartHighlight()
{
    m_highlight[0] = CZuSubsystemTable();
    m_highlight[1] = CZuSubsystemTable();
    CTALVOProject* container = ContainerOf(m_daqProject);
    if (!container || !m_daqProject)
        return;
    CZuSubsystemTable measured;
    m_daqProject->CollectResponseSubsystems(measured);
    std::vector<std::string> names;
    if (const CZuSubsystemTable* table = container->GetModelSubsystemTable())
        for (int i = 0; i < table->GetCount(); ++i)
            names.push_back((*table)[i]);
    if (!container->GetTargetSubsystem().empty())
        names.push_back(container->GetTargetSubsystem());
    for (const std::string& name : names) {
        bool known = false;
        for (int i = 0; i < measured.GetCount(); ++i)
            known = known || measured[i] == name;
        CZuSubsystemTable& set = container->IsStructure(name) ? m_highlight[0] : m_highlight[1];
        bool listed = false;
        for (int i = 0; i < set.GetCount(); ++i)
            listed = listed || set[i] == name;
        if (!known && !listed)
            set.Add(name);
    }
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &CDlgExpProperty::OnBlinkTimer);
    m_timer->start();
}

bool CDlgExpProperty::IsBlinking() const
{
    return m_timer && m_timer->isActive();
}

void CDlgExpProperty::OnBlinkTimer()
{
    m_blink ^= 1;
    const CZuSubsystemTable& set = m_highlight[m_blink];
    const float* colour = kColors[m_blink == 0 ? 15 : 0];
    for (C3DModelDoc* doc : C3DModelDoc::GetOpenDocuments()) {
        doc->SetDefaultColors();
        doc->ClearSelection();
        for (int i = 0; i < set.GetCount(); ++i)
            doc->ColorSubsystem(set[i], colour[0], colour[1], colour[2]);
        doc->SetSelection(set);
        doc->UpdateAllViews();
    }
}
