#include "experiments/ui/SensorListView.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "experiments/ImportSensorListFromExcel.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/DlgImportSensorList.h"
#include "experiments/ui/DlgSensorBundle.h"
#include "experiments/ui/DlgSensorProperty.h"
#include "experiments/ui/SensorCommands.h"
#include "experiments/ui/SensorDoc.h"
#include "experiments/ui/SensorListCtrl.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

namespace {
constexpr uint32_t kCategoryNameIds[3] = {IDS_CATEGORY_ACCELEROMETERS, IDS_CATEGORY_MICROPHONES, IDS_CATEGORY_HAMMERS};
const char* const kWorkbookFilter = "Excel Workbooks (*.xlsx)|*.xlsx|All Files (*.*)|*.*||";
} // namespace

CSensorListView::CSensorListView(CSensorDoc* doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("SensorListView"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SensorTabs"));
    const QStyle::StandardPixmap icons[] = {QStyle::SP_DriveHDIcon, QStyle::SP_MediaVolume, QStyle::SP_ArrowDown};
    for (int t = 0; t < 3; ++t) {
        m_lists[t] = new CSensorListCtrl(m_tabs);
        m_lists[t]->setObjectName(QStringLiteral("SensorList%1").arg(t));
        m_tabs->addTab(m_lists[t], style()->standardIcon(icons[t]),
                       QString::fromStdString(LoadString(kCategoryNameIds[t])));
        connect(m_lists[t], &QTreeWidget::itemDoubleClicked, this,
                [this, t](QTreeWidgetItem* item, int) { OnDoubleClick(t, m_lists[t]->indexOfTopLevelItem(item)); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    connect(doc, &CSensorDoc::Updated, this, &CSensorListView::OnUpdate);
}

CSensorListView::~CSensorListView()
{
    if (m_newDialog)
        delete m_newDialog.data();
}

void CSensorListView::OnInitialUpdate()
{
    for (int t = 0; t < 3; ++t)
        FillTab(t);
}

void CSensorListView::FillTab(int tab)
{
    CSensorProject* project = m_doc->GetSensorProject();
    m_lists[tab]->Fill(project ? project->GetCategory(tab + 1) : nullptr);
}

void CSensorListView::OnUpdate(CSensor* hint, int code)
{
    if (!hint) {
        OnInitialUpdate();
        return;
    }
    const int tab = hint->GetType() - 1;
    if (tab < 0 || tab > 2)
        return;
    if (code != 0)
        FillTab(tab);
    m_tabs->setCurrentIndex(tab);
    const int row = m_lists[tab]->FindRow(hint->GetName());
    if (row >= 0) {
        m_lists[tab]->clearSelection();
        QTreeWidgetItem* item = m_lists[tab]->topLevelItem(row);
        item->setSelected(true);
        m_lists[tab]->setCurrentItem(item);
        m_lists[tab]->scrollToItem(item);
    }
}

const CSensorListView::CommandTable& CSensorListView::Commands()
{
    static const CommandTable table = [] {
        CommandTable t;
        auto add = [&t](int id, CommandTable::Entry::Action run) {
            CommandTable::Entry e;
            e.id = id;
            e.enabled = [](const CSensorListView& v) { return v.m_doc->GetSensorProject() != nullptr; };
            e.run = std::move(run);
            t.Add(std::move(e));
        };
        add(ID_SENSOR_NEW, [](CSensorListView& v, const CSensorListView&) {
            if (!v.m_newDialog) {
                v.m_newDialog = new CDlgSensorProperty(&v, true);
                v.m_newDialog->setWindowFlag(Qt::Window);
                CSensorListView* view = &v;
                v.m_newDialog->onAdd = [view](CDlgSensorProperty&) { view->OnNewSensorMessage(1); };
                v.m_newDialog->onClosed = [view] { view->OnNewSensorMessage(2); };
                v.m_newDialog->Create();
            }
            v.SetNewSensorUnit(v.m_tabs->currentIndex());
            return true;
        });
        add(ID_SENSOR_DELETE, [](CSensorListView& v, const CSensorListView&) {
            v.DeleteSelected();
            return true;
        });
        add(ID_SENSOR_PROPERTY, [](CSensorListView& v, const CSensorListView&) {
            const std::vector<std::string> ids = v.m_lists[v.m_tabs->currentIndex()]->SelectedIDs();
            if (!ids.empty())
                v.EditSensor(ids.front());
            return true;
        });
        add(ID_SENSOR_EXCEL_IMPORT, [](CSensorListView& v, const CSensorListView&) {
            v.ImportFromWorkbook();
            return true;
        });
        return t;
    }();
    return table;
}

bool CSensorListView::IsCommandEnabled(int id) const
{
    return Commands().IsEnabled(id, *this);
}

bool CSensorListView::OnCommand(int id)
{
    return Commands().Run(id, *this, *this);
}

void CSensorListView::SetNewSensorUnit(int tab)
{
    static const int kChoice[3] = {0, 2, 3};
    if (m_newDialog && tab >= 0 && tab < 3)
        m_newDialog->SetUnitChoice(kChoice[tab]);
}

void CSensorListView::OnNewSensorMessage(int wParam)
{
    if (!m_newDialog)
        return;
    if (wParam != 1) {
        m_newDialog->DestroyWindow();
        m_newDialog = nullptr;
        return;
    }
    CSensorProject* project = m_doc->GetSensorProject();
    if (CSensor* sensor = project ? project->AddSensor(m_newDialog->m_values, &*CStatusBarFallback(nullptr)) : nullptr)
        m_doc->SetModified(sensor, 1);
}

void CSensorListView::DeleteSelected()
{
    CSensorListCtrl* list = m_lists[m_tabs->currentIndex()];
    const std::vector<std::string> ids = list->SelectedIDs();
    if (ids.empty() || AfxMessageBox(IDS_DELETE_SELECTED, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CSensorProject* project = m_doc->GetSensorProject();
    for (const std::string& id : ids)
        if (CMElement* element = project->FindOne(id, -1))
            if (CMElement* parent = element->GetParent())
                parent->DeleteChild(element);
    m_doc->SetModified();
}

void CSensorListView::EditSensor(const std::string& id)
{
    CSensorProject* project = m_doc->GetSensorProject();
    CSensor* sensor = project ? project->FindSensor(id) : nullptr;
    if (!sensor)
        return;
    CDlgSensorProperty dlg(this, false);
    const CHANNELINFO& ch = sensor->GetChannelInfo();
    dlg.m_values.id = sensor->GetName();
    dlg.m_values.manufacturer = sensor->GetManufacturer();
    dlg.m_values.model = sensor->GetModel();
    dlg.m_values.serialNumber = sensor->GetSerialNumber();
    dlg.m_values.sensitivity = ch.Sensitivity;
    dlg.m_values.limit = ch.Limit;
    dlg.m_channel = ch.Channel;
    dlg.m_scale = ch.Scale;
    dlg.m_comment = ch.Comment;
    switch (ch.DataType) {
    case SENSOR_DATATYPE_ACCELERATION:
        dlg.m_values.unitChoice = ch.Unit == 0 ? 1 : 0;
        break;
    case SENSOR_DATATYPE_FORCE:
        dlg.m_values.unitChoice = 3;
        break;
    default:
        dlg.m_values.unitChoice = 2;
        break;
    }
    dlg.m_unitEnabled = false;
    if (dlg.DoModal() != IDOK)
        return;
    if (project->UpdateSensor(sensor, dlg.m_values, &*CStatusBarFallback(nullptr)))
        m_doc->SetModified(sensor, 1);
}

void CSensorListView::ImportFromWorkbook()
{
    if (ImportDialog())
        return;
    FileChooserOptions options;
    options.filter = kWorkbookFilter;
    options.defaultExt = "xlsx";
    std::string path;
    if (!PromptOpenFile(options, path))
        return;
    CDlgImportSensorList* dialog = CDlgImportSensorList::CreateInstance(this, path, this);
    dialog->setWindowFlag(Qt::Window);
    dialog->onRecords = [this](const std::vector<tagSENSORINFO>& records) { AddImportedRecords(records); };
    dialog->Create();
}

std::vector<CSensor*> CSensorListView::AddImportedRecords(const std::vector<tagSENSORINFO>& records)
{
    CSensorProject* project = m_doc->GetSensorProject();
    if (!project)
        return {};
    const std::vector<CSensor*> added =
        CImportSensorListFromExcel::AddAllToProject(*project, records, &*CStatusBarFallback(nullptr));
    if (added.empty())
        return added;
    if (added.size() == 1) {
        m_doc->SetModified(added.front(), 1);
    } else {
        // The tabs are filled once for the whole import, then the last sensor added is shown.
        m_doc->SetModified();
        m_doc->UpdateAllViews(added.back(), 0);
    }
    if (CDlgImportSensorList* dialog = ImportDialog())
        m_doc->RecordImportTitle(dialog->GetTitle());
    return added;
}

void CSensorListView::OnDoubleClick(int tab, int row)
{
    if (tab < 0 || tab > 2 || row < 0 || row >= m_lists[tab]->topLevelItemCount())
        return;
    const std::string id = m_lists[tab]->topLevelItem(row)->text(0).toStdString();
    if (CDlgSensorBundle* bundleDialog = CDlgSensorBundle::GetInstance()) {
        AddSensorToBundle(id, bundleDialog->GetBundleID());
        return;
    }
    EditSensor(id);
}

bool CSensorListView::AddSensorToBundle(const std::string& sensorID, const std::string& bundleID)
{
    CSensorProject* project = m_doc->GetSensorProject();
    CSensor* sensor = project ? project->FindSensor(sensorID) : nullptr;
    CSensorBundle* bundle = project ? project->FindBundleByID(bundleID) : nullptr;
    if (!sensor || !bundle)
        return false;
    // A bundle holds sensors of one data type: that of the sensors it names that still exist.
    int common = 0;
    for (const std::string& id : bundle->GetSensors())
        if (const CSensor* member = project->FindSensor(id)) {
            common = member->GetChannelInfo().DataType;
            break;
        }
    if (common != 0 && common != sensor->GetChannelInfo().DataType)
        return false;
    if (!bundle->AddSensor(sensorID))
        return false;
    m_doc->SetModified();
    return true;
}
