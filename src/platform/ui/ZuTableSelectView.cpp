#include "platform/ui/ZuTableSelectView.h"

#include "platform/elements/ZuTableData.h"
#include "platform/win/StringTable.h"

#include <QHeaderView>
#include <QItemSelectionModel>

CZuSubsetListModel::CZuSubsetListModel(QObject* parent) : QAbstractListModel(parent) {}

void CZuSubsetListModel::SetSource(CountFn count, LabelFn label)
{
    m_count = std::move(count);
    m_label = std::move(label);
    Refresh();
}

void CZuSubsetListModel::SetTitle(const QString& title)
{
    m_title = title;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void CZuSubsetListModel::Refresh()
{
    beginResetModel();
    m_rows = m_count ? std::max(0, m_count()) : 0;
    endResetModel();
}

int CZuSubsetListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant CZuSubsetListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows || !m_label)
        return {};
    return QString::fromStdString(m_label(index.row()));
}

QVariant CZuSubsetListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The heading is given in English and shown in the language loaded when it is drawn.
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return QString::fromStdString(TranslateText(m_title.toStdString()));
    return QAbstractListModel::headerData(section, orientation, role);
}

CZuTableSelectView::CZuTableSelectView(CZuTableDataDoc* doc, QWidget* parent)
    : QTreeView(parent), m_doc(doc), m_model(new CZuSubsetListModel(this))
{
    setModel(m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(true);
    m_model->SetTitle(tr("RPM"));
    m_model->SetSource(
        [this] {
            CZuTableData* data = m_doc ? m_doc->GetData() : nullptr;
            return data ? data->GetTableFreqCount() : 0;
        },
        [this](int i) {
            CZuTableData* data = m_doc ? m_doc->GetData() : nullptr;
            return data ? data->GetFreqIndicator(i) : std::string();
        });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (m_filling || !current.isValid() || !m_doc)
            return;
        m_doc->SetCurrentSubset(current.row());
        m_doc->UpdateAllViews(this, current.row());
    });
    if (m_doc)
        m_doc->AddView(this);
}

CZuTableSelectView::~CZuTableSelectView()
{
    if (m_doc)
        m_doc->RemoveView(this);
}

void CZuTableSelectView::SelectSubset(int subset)
{
    if (subset < 0 || subset >= m_model->rowCount())
        return;
    setCurrentIndex(m_model->index(subset, 0));
}

int CZuTableSelectView::SelectedSubset() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CZuTableSelectView::OnUpdate(IZuTableDataView*, int)
{
    RefillList();
}

void CZuTableSelectView::RefillList()
{
    m_filling = true;
    m_model->Refresh();
    const int subset = m_doc ? m_doc->GetCurrentSubset() : -1;
    if (subset >= 0 && subset < m_model->rowCount()) {
        setCurrentIndex(m_model->index(subset, 0));
        scrollTo(currentIndex());
    }
    m_filling = false;
}
