#include "experiments/ui/SensorBundleView.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cstring>

#include "experiments/SensorProject.h"
#include "experiments/ui/DlgBlixBundleName.h"
#include "experiments/ui/DlgSensorBundle.h"
#include "experiments/ui/SensorCommands.h"
#include "experiments/ui/SensorDoc.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

namespace {
constexpr int kColumns = 1 + CSensorBundle::kMaxSensors;
} // namespace

CSensorBundleView::CSensorBundleView(CSensorDoc* doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("SensorBundleView"));
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("BundleGrid3070"));
    m_grid->setColumnCount(kColumns);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    QStringList headers{QStringLiteral("Bundle ID")};
    for (int s = 1; s <= CSensorBundle::kMaxSensors; ++s)
        headers << QString::fromStdString(Format("Sensor %d", s));
    m_grid->setHorizontalHeaderLabels(headers);
    m_grid->setColumnWidth(0, 120);
    for (int c = 1; c < kColumns; ++c)
        m_grid->setColumnWidth(c, 95);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    connect(m_grid, &QTableWidget::cellClicked, this, &CSensorBundleView::OnClick);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &CSensorBundleView::OnDoubleClick);
    connect(doc, &CSensorDoc::Updated, this, &CSensorBundleView::OnUpdate);
    Rebuild();
}

void CSensorBundleView::OnUpdate(CSensor*, int)
{
    Rebuild();
}

void CSensorBundleView::Rebuild()
{
    const int row = m_grid->currentRow();
    const int col = m_grid->currentColumn();
    m_grid->setUpdatesEnabled(false);
    m_grid->clearContents();
    CSensorProject* project = m_doc->GetSensorProject();
    const int count = project ? project->GetBundleCount() : 0;
    m_grid->setRowCount(count + 1);
    for (int b = 0; b < count; ++b) {
        const CSensorBundle* bundle = project->GetBundle(b);
        m_grid->setItem(b, 0, new QTableWidgetItem(QString::fromStdString(bundle->GetID())));
        // An empty bundle shows its count, 0, where its first sensor would stand.
        m_grid->setItem(b, 1, new QTableWidgetItem(QString::number(bundle->GetCount())));
        for (int s = 0; s < bundle->GetCount(); ++s)
            m_grid->setItem(b, s + 1, new QTableWidgetItem(QString::fromStdString(bundle->GetSensorID(s))));
    }
    m_grid->setItem(count, 0, new QTableWidgetItem(QStringLiteral("*")));
    if (row >= 0)
        m_grid->setCurrentCell(std::min(row, count), std::max(col, 0));
    m_grid->setUpdatesEnabled(true);
}

CSensorBundle* CSensorBundleView::BundleOfRow(int row) const
{
    CSensorProject* project = m_doc->GetSensorProject();
    return project ? project->GetBundle(row) : nullptr;
}

bool CSensorBundleView::IsCommandEnabled(int id) const
{
    const CSensorProject* project = m_doc->GetSensorProject();
    if (!project)
        return false;
    switch (id) {
    case ID_SENSOR_NEW:
    case ID_SENSOR_INSERT:
    case ID_SENSOR_DELETE:
    case ID_SENSOR_DELETE_ROW:
        return true;
    case ID_SENSOR_COPY:
        return project->GetBundleCount() >= 1;
    case ID_SENSOR_UP:
    case ID_SENSOR_DOWN:
    case ID_SENSOR_SORT:
        return project->GetBundleCount() >= 2;
    case ID_SENSOR_LEFT:
    case ID_SENSOR_RIGHT:
        return project->GetGroupCount() >= 1;
    default:
        return false;
    }
}

bool CSensorBundleView::CheckNotInUse(const CSensorBundle* bundle) const
{
    std::vector<int> groups;
    if (m_doc->GetSensorProject()->GetGroupsUsingBundle(bundle->GetNumber(), groups) == 0)
        return true;
    std::string text = "group #:";
    for (int g : groups)
        text += Format("%d,", g + 1);
    AfxFormatMessageBox(IDS_BUNDLE_IN_USE, MB_OK, text.c_str());
    return false;
}

void CSensorBundleView::Follow(int row, int col)
{
    Rebuild();
    m_grid->setCurrentCell(std::clamp(row, 0, m_grid->rowCount() - 1), std::clamp(col, 0, kColumns - 1));
}

bool CSensorBundleView::OnCommand(int id)
{
    if (!IsCommandEnabled(id))
        return false;
    CSensorProject* project = m_doc->GetSensorProject();
    const int row = m_grid->currentRow();
    const int col = m_grid->currentColumn();
    CSensorBundle* bundle = BundleOfRow(row);
    switch (id) {
    case ID_SENSOR_NEW:
        if (CDlgSensorBundle* dlg = CDlgSensorBundle::CreateInstance(this)) {
            dlg->setWindowFlag(Qt::Window);
            dlg->SetBundleID(bundle ? bundle->GetID() : std::string());
            dlg->Create();
        }
        return true;
    case ID_SENSOR_INSERT: {
        CDlgBlixBundleName dlg(project, this);
        if (dlg.DoModal() == IDOK) {
            project->AddBundle(dlg.GetBundleID());
            m_doc->SetModified();
        }
        return true;
    }
    case ID_SENSOR_DELETE:
        if (bundle && col >= 1 && m_grid->item(row, col) && CheckNotInUse(bundle) &&
            bundle->RemoveSensor(m_grid->item(row, col)->text().toStdString()))
            m_doc->SetModified();
        return true;
    case ID_SENSOR_DELETE_ROW:
        if (bundle && CheckNotInUse(bundle)) {
            project->DeleteBundle(row);
            m_doc->SetModified();
        }
        return true;
    case ID_SENSOR_COPY: {
        const QList<QTableWidgetSelectionRange> ranges = m_grid->selectedRanges();
        const int first = ranges.isEmpty() ? row : std::min(ranges.front().topRow(), row);
        std::vector<int> numbers;
        for (int r = std::max(first, 0); r <= row; ++r)
            if (const CSensorBundle* b = BundleOfRow(r))
                numbers.push_back(b->GetNumber());
        for (int n : numbers)
            project->CopyBundle(n);
        if (!numbers.empty())
            m_doc->SetModified();
        return true;
    }
    case ID_SENSOR_UP:
    case ID_SENSOR_DOWN: {
        const int other = id == ID_SENSOR_UP ? row - 1 : row + 1;
        if (bundle && project->SwapBundles(row, other)) {
            m_doc->SetModified();
            Follow(other, col);
        }
        return true;
    }
    case ID_SENSOR_LEFT:
    case ID_SENSOR_RIGHT:
        if (bundle && col >= 1) {
            const int a = id == ID_SENSOR_LEFT ? col - 2 : col - 1;
            const int b = a + 1;
            if (a >= 0 && b < bundle->GetCount()) {
                bundle->SwapSensors(a, b);
                m_doc->SetModified();
                Follow(row, id == ID_SENSOR_LEFT ? col - 1 : col + 1);
            }
        }
        return true;
    case ID_SENSOR_SORT: {
        if (AfxMessageBox(IDS_SORT_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return true;
        // Byte-wise, as the IDs are compared everywhere else: "10" sorts before "2".
        const int n = project->GetBundleCount();
        for (int i = 0; i < n - 1; ++i)
            for (int j = i + 1; j < n; ++j) {
                const CSensorBundle* x = project->GetBundle(i);
                const CSensorBundle* y = project->GetBundle(j);
                int c = std::strcmp(x->GetBundleID().c_str(), y->GetBundleID().c_str());
                if (c == 0)
                    c = std::strcmp(x->GetBundleName().c_str(), y->GetBundleName().c_str());
                if (c > 0)
                    project->SwapBundles(i, j);
            }
        m_doc->SetModified();
        return true;
    }
    default:
        return false;
    }
}

void CSensorBundleView::OnClick(int row, int)
{
    if (CDlgSensorBundle* dlg = CDlgSensorBundle::GetInstance())
        if (const CSensorBundle* bundle = BundleOfRow(row))
            dlg->SetBundleID(bundle->GetID());
}

void CSensorBundleView::OnDoubleClick(int row, int col)
{
    CSensorBundle* bundle = BundleOfRow(row);
    if (!bundle || col != 0)
        return;
    CDlgBlixBundleName dlg(m_doc->GetSensorProject(), this);
    dlg.m_number = bundle->GetBundleID();
    dlg.m_name = bundle->GetBundleName();
    if (dlg.DoModal() != IDOK)
        return;
    const std::string id = dlg.GetBundleID();
    if (m_doc->GetSensorProject()->FindBundleByID(id)) {
        AfxFormatMessageBox(IDS_ID_USED, MB_OK, id.c_str());
        return;
    }
    bundle->SetID(id);
    m_doc->SetModified();
}
