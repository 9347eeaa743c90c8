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

// What a command of the grid acts on: the current row and column and the row's bundle (null on
// the "*" row).
struct BundleCell
{
    CSensorProject* project;
    int row;
    int col;
    CSensorBundle* bundle;
};
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

const CSensorBundleView::CommandTable& CSensorBundleView::Commands()
{
    static const CommandTable table = [] {
        CommandTable t;
        using Rule = std::function<bool(const CSensorProject&)>;
        auto add = [&t](int id, Rule rule, std::function<void(CSensorBundleView&, const BundleCell&)> act) {
            CommandTable::Entry e;
            e.id = id;
            e.enabled = [rule = std::move(rule)](const CSensorBundleView& v) {
                const CSensorProject* project = v.m_doc->GetSensorProject();
                return project && (!rule || rule(*project));
            };
            e.run = [act = std::move(act)](CSensorBundleView& v, const CSensorBundleView&) {
                const int row = v.m_grid->currentRow();
                act(v, BundleCell{v.m_doc->GetSensorProject(), row, v.m_grid->currentColumn(), v.BundleOfRow(row)});
                return true;
            };
            t.Add(std::move(e));
        };
        const Rule oneBundle = [](const CSensorProject& p) { return p.GetBundleCount() >= 1; };
        const Rule twoBundles = [](const CSensorProject& p) { return p.GetBundleCount() >= 2; };
        const Rule oneGroup = [](const CSensorProject& p) { return p.GetGroupCount() >= 1; };

        add(ID_SENSOR_NEW, nullptr, [](CSensorBundleView& v, const BundleCell& c) {
            if (CDlgSensorBundle* dlg = CDlgSensorBundle::CreateInstance(&v)) {
                dlg->setWindowFlag(Qt::Window);
                dlg->SetBundleID(c.bundle ? c.bundle->GetID() : std::string());
                dlg->Create();
            }
        });
        add(ID_SENSOR_INSERT, nullptr, [](CSensorBundleView& v, const BundleCell& c) {
            CDlgBlixBundleName dlg(c.project, &v);
            if (dlg.DoModal() == IDOK) {
                c.project->AddBundle(dlg.GetBundleID());
                v.m_doc->SetModified();
            }
        });
        add(ID_SENSOR_DELETE, nullptr, [](CSensorBundleView& v, const BundleCell& c) {
            QTableWidgetItem* item = v.m_grid->item(c.row, c.col);
            if (c.bundle && c.col >= 1 && item && v.CheckNotInUse(c.bundle) &&
                c.bundle->RemoveSensor(item->text().toStdString()))
                v.m_doc->SetModified();
        });
        add(ID_SENSOR_DELETE_ROW, nullptr, [](CSensorBundleView& v, const BundleCell& c) {
            if (c.bundle && v.CheckNotInUse(c.bundle)) {
                c.project->DeleteBundle(c.row);
                v.m_doc->SetModified();
            }
        });
        add(ID_SENSOR_COPY, oneBundle, [](CSensorBundleView& v, const BundleCell& c) {
            const QList<QTableWidgetSelectionRange> ranges = v.m_grid->selectedRanges();
            const int first = ranges.isEmpty() ? c.row : std::min(ranges.front().topRow(), c.row);
            std::vector<int> numbers;
            for (int r = std::max(first, 0); r <= c.row; ++r)
                if (const CSensorBundle* b = v.BundleOfRow(r))
                    numbers.push_back(b->GetNumber());
            for (int n : numbers)
                c.project->CopyBundle(n);
            if (!numbers.empty())
                v.m_doc->SetModified();
        });
        for (const int id : {ID_SENSOR_UP, ID_SENSOR_DOWN})
            add(id, twoBundles, [id](CSensorBundleView& v, const BundleCell& c) {
                const int other = id == ID_SENSOR_UP ? c.row - 1 : c.row + 1;
                if (c.bundle && c.project->SwapBundles(c.row, other)) {
                    v.m_doc->SetModified();
                    v.Follow(other, c.col);
                }
            });
        for (const int id : {ID_SENSOR_LEFT, ID_SENSOR_RIGHT})
            add(id, oneGroup, [id](CSensorBundleView& v, const BundleCell& c) {
                if (!c.bundle || c.col < 1)
                    return;
                const int a = id == ID_SENSOR_LEFT ? c.col - 2 : c.col - 1;
                const int b = a + 1;
                if (a >= 0 && b < c.bundle->GetCount()) {
                    c.bundle->SwapSensors(a, b);
                    v.m_doc->SetModified();
                    v.Follow(c.row, id == ID_SENSOR_LEFT ? c.col - 1 : c.col + 1);
                }
            });
        add(ID_SENSOR_SORT, twoBundles, [](CSensorBundleView& v, const BundleCell& c) {
            if (AfxMessageBox(IDS_SORT_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
                return;
            // Byte-wise, as the IDs are compared everywhere else: "10" sorts before "2".
            const int n = c.project->GetBundleCount();
            for (int i = 0; i < n - 1; ++i)
                for (int j = i + 1; j < n; ++j) {
                    const CSensorBundle* x = c.project->GetBundle(i);
                    const CSensorBundle* y = c.project->GetBundle(j);
                    int order = std::strcmp(x->GetBundleID().c_str(), y->GetBundleID().c_str());
                    if (order == 0)
                        order = std::strcmp(x->GetBundleName().c_str(), y->GetBundleName().c_str());
                    if (order > 0)
                        c.project->SwapBundles(i, j);
                }
            v.m_doc->SetModified();
        });
        return t;
    }();
    return table;
}

bool CSensorBundleView::IsCommandEnabled(int id) const
{
    return Commands().IsEnabled(id, *this);
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
    return Commands().Run(id, *this, *this);
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
