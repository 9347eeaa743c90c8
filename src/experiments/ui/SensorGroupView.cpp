#include "experiments/ui/SensorGroupView.h"

#include <QComboBox>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "experiments/SensorProject.h"
#include "experiments/ui/DlgSensorGroup.h"
#include "experiments/ui/SensorCommands.h"
#include "experiments/ui/SensorDoc.h"
#include "platform/base/Format.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

namespace {

// What a command of the grid acts on: the current row (the first when none is) and column.
struct GroupCell
{
    CSensorProject* project;
    int row;
    int col;
    CSensorGroup* group;
};

std::string MemberText(const std::string& bundleID, int slot)
{
    return Format(LoadString(IDS_BUNDLE_MEMBER_NAME).c_str(), bundleID.c_str(), slot + 1);
}

// The in-cell list of the channel columns.
class CChannelDelegate : public QStyledItemDelegate
{
public:
    explicit CChannelDelegate(CSensorGroupView* view) : QStyledItemDelegate(view), m_view(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        if (index.column() < 2 || !m_view->GroupOfRow(index.row()))
            return nullptr;
        auto* combo = new QComboBox(parent);
        combo->addItems(m_view->CellChoices(index.row()));
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* combo = static_cast<QComboBox*>(editor);
        combo->setCurrentIndex(std::max(0, combo->findText(index.data().toString())));
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        const std::string text = static_cast<QComboBox*>(editor)->currentText().toStdString();
        const int row = index.row();
        const int col = index.column();
        // The grid is rebuilt after the edit; not while the editor still belongs to it.
        QMetaObject::invokeMethod(
            m_view, [view = m_view, row, col, text] { view->OnCellEdited(row, col, text); }, Qt::QueuedConnection);
    }

private:
    CSensorGroupView* m_view;
};
} // namespace

CSensorGroupView::CSensorGroupView(CSensorDoc* doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("SensorGroupView"));
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("GroupGrid"));
    m_grid->verticalHeader()->setVisible(false);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed);
    m_grid->setItemDelegate(new CChannelDelegate(this));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    connect(doc, &CSensorDoc::Updated, this, &CSensorGroupView::OnUpdate);
    Rebuild();
}

void CSensorGroupView::OnUpdate(CSensor*, int)
{
    Rebuild();
}

CSensorGroup* CSensorGroupView::GroupOfRow(int row) const
{
    CSensorProject* project = m_doc->GetSensorProject();
    return project ? project->GetGroup(row) : nullptr;
}

void CSensorGroupView::Rebuild()
{
    const int row = m_grid->currentRow();
    const int col = m_grid->currentColumn();
    m_grid->setUpdatesEnabled(false);
    m_grid->clear();
    CSensorProject* sensors = m_doc->GetSensorProject();
    const int channels = sensors ? sensors->GetChannelCount() : CSensorGroup::kDefaultChannelCount;
    m_grid->setColumnCount(2 + channels);
    QStringList headers{QStringLiteral("Group #"), QStringLiteral("Count")};
    for (int c = 1; c <= channels; ++c)
        headers << QString::fromStdString(Format("Ch.%d", c));
    m_grid->setHorizontalHeaderLabels(headers);
    m_grid->setColumnWidth(0, 80);
    m_grid->setColumnWidth(1, 50);
    for (int c = 0; c < channels; ++c)
        m_grid->setColumnWidth(2 + c, 95); // room for "B12-Front #8"
    CSensorProject* project = m_doc->GetSensorProject();
    const int count = project ? project->GetGroupCount() : 0;
    m_grid->setRowCount(count + 1);
    auto fixed = [](const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        return item;
    };
    for (int g = 0; g < count; ++g) {
        const CSensorGroup* group = project->GetGroup(g);
        m_grid->setItem(g, 0, fixed(QString::fromStdString(Format("Group %d", g + 1))));
        m_grid->setItem(g, 1, fixed(QString::number(group ? group->GetMemberCount() : 0)));
        for (int m = 0; group && m < group->GetMemberCount(); ++m) {
            const tagSENSORGROUPMEMBER member = group->GetMember(m);
            const CSensorBundle* bundle = project->FindBundleByNo(member.bundle);
            if (member.channel < 0 || member.channel >= channels)
                continue;
            m_grid->setItem(
                g, 2 + member.channel,
                new QTableWidgetItem(QString::fromStdString(MemberText(bundle ? bundle->GetID() : "", member.slot))));
        }
    }
    m_grid->setItem(count, 0, fixed(QStringLiteral("*")));
    if (row >= 0)
        m_grid->setCurrentCell(std::min(row, count), std::max(col, 0));
    m_grid->setUpdatesEnabled(true);
}

QStringList CSensorGroupView::CellChoices(int row) const
{
    QStringList choices{QString()};
    const CSensorGroup* group = GroupOfRow(row);
    const CSensorProject* project = m_doc->GetSensorProject();
    if (!group || !project)
        return choices;
    for (int number : group->GetBundles()) {
        const CSensorBundle* bundle = project->FindBundleByNo(number);
        if (!bundle)
            break;
        for (int s = 0; s < bundle->GetCount(); ++s)
            choices << QString::fromStdString(MemberText(bundle->GetID(), s));
    }
    return choices;
}

void CSensorGroupView::OnCellEdited(int row, int col, const std::string& text)
{
    CSensorGroup* group = GroupOfRow(row);
    CSensorProject* project = m_doc->GetSensorProject();
    const int channel = col - 2;
    if (!group || !project || channel < 0)
        return;
    group->RemoveMembersOnChannel(channel);
    const size_t hash = text.rfind('#');
    if (!text.empty() && hash != std::string::npos && hash >= 1) {
        std::string id = text.substr(0, hash);
        id.erase(id.find_last_not_of(' ') + 1);
        const int slot = std::atoi(text.c_str() + hash + 1) - 1;
        const CSensorBundle* bundle = project->FindBundleByID(id);
        if (bundle && slot >= 0 && slot < bundle->GetCount()) {
            tagSENSORGROUPMEMBER member;
            member.text = bundle->GetSensorID(slot);
            member.bundle = bundle->GetNumber();
            member.slot = slot;
            member.channel = channel;
            group->SetMember(member, project->GetChannelCount(), &*CStatusBarFallback(nullptr));
        }
    }
    m_doc->SetModified();
}

const CSensorGroupView::CommandTable& CSensorGroupView::Commands()
{
    static const CommandTable table = [] {
        CommandTable t;
        auto add = [&t](int id, int minGroups, std::function<void(CSensorGroupView&, const GroupCell&)> act) {
            CommandTable::Entry e;
            e.id = id;
            e.enabled = [minGroups](const CSensorGroupView& v) {
                const CSensorProject* project = v.m_doc->GetSensorProject();
                return project && project->GetGroupCount() >= minGroups;
            };
            e.run = [act = std::move(act)](CSensorGroupView& v, const CSensorGroupView&) {
                const int row = std::max(0, v.m_grid->currentRow());
                act(v, GroupCell{v.m_doc->GetSensorProject(), row, v.m_grid->currentColumn(), v.GroupOfRow(row)});
                return true;
            };
            t.Add(std::move(e));
        };
        add(ID_SENSOR_INSERT, 0, [](CSensorGroupView& v, const GroupCell& c) {
            CSensorGroup* inserted = c.project->InsertGroup(c.row);
            CDlgSensorGroup dlg(c.project, inserted, &v);
            dlg.DoModal();
            v.m_doc->SetModified();
        });
        add(ID_SENSOR_PROPERTY, 0, [](CSensorGroupView& v, const GroupCell& c) {
            if (!c.group)
                return;
            CDlgSensorGroup dlg(c.project, c.group, &v);
            if (dlg.DoModal() == IDOK)
                v.m_doc->SetModified();
        });
        add(ID_SENSOR_DELETE_ROW, 0, [](CSensorGroupView& v, const GroupCell& c) {
            if (!c.group)
                return;
            c.project->DeleteGroup(c.row);
            v.m_doc->SetModified();
        });
        add(ID_SENSOR_DELETE, 0, [](CSensorGroupView& v, const GroupCell& c) {
            QTableWidgetItem* item = v.m_grid->item(c.row, c.col);
            if (c.group && c.col >= 2 && item && !item->text().isEmpty()) {
                c.group->RemoveMembersOnChannel(c.col - 2);
                v.m_doc->SetModified();
            }
        });
        add(ID_SENSOR_COPY, 1, [](CSensorGroupView& v, const GroupCell& c) {
            const QList<QTableWidgetSelectionRange> ranges = v.m_grid->selectedRanges();
            const int first = ranges.isEmpty() ? c.row : std::min(ranges.front().topRow(), c.row);
            const int count = c.project->GetGroupCount();
            for (int r = first; r <= c.row && r < count; ++r)
                c.project->DuplicateGroup(r);
            v.m_doc->SetModified();
        });
        for (const int id : {ID_SENSOR_UP, ID_SENSOR_DOWN})
            add(id, 2, [id](CSensorGroupView& v, const GroupCell& c) {
                const int other = id == ID_SENSOR_UP ? c.row - 1 : c.row + 1;
                if (c.group && c.project->SwapGroups(c.row, other)) {
                    v.m_doc->SetModified();
                    v.Follow(other, c.col);
                }
            });
        for (const int id : {ID_SENSOR_LEFT, ID_SENSOR_RIGHT})
            add(id, 1, [id](CSensorGroupView& v, const GroupCell& c) {
                if (c.group && c.project->ShiftGroup(c.row, id == ID_SENSOR_LEFT ? -1 : 1))
                    v.m_doc->SetModified();
            });
        return t;
    }();
    return table;
}

bool CSensorGroupView::IsCommandEnabled(int id) const
{
    return Commands().IsEnabled(id, *this);
}

void CSensorGroupView::Follow(int row, int col)
{
    Rebuild();
    m_grid->setCurrentCell(std::clamp(row, 0, m_grid->rowCount() - 1), std::clamp(col, 0, m_grid->columnCount() - 1));
}

bool CSensorGroupView::OnCommand(int id)
{
    return Commands().Run(id, *this, *this);
}
