#include "experiments/ui/DlgExpDatabaseMapping.h"

#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kDialogTemplate = 4213;
constexpr int kSubsystemColumn = 2;

// The subsystem column chooses among the model's subsystem names in sorted order.
class SubsystemDelegate : public QStyledItemDelegate
{
public:
    SubsystemDelegate(QStringList names, QObject* parent) : QStyledItemDelegate(parent), m_names(std::move(names)) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* box = new QComboBox(parent);
        box->addItem(QString());
        box->addItems(m_names);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data().toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }

private:
    QStringList m_names;
};
} // namespace

CDlgExpDatabaseMapping::CDlgExpDatabaseMapping(const CZuSubsystemTable& model, std::vector<std::string> commonNames,
                                               std::vector<int32_t> mapping, QWidget* parent)
    : CZuDialog(parent, kDialogTemplate), m_commonNames(std::move(commonNames)), m_mapping(std::move(mapping))
{
    for (int i = 0; i < model.GetCount(); ++i)
        m_modelNames.push_back(model[i]);
    m_mapping.resize(m_modelNames.size(), -1);
    setWindowTitle(QStringLiteral("Experiment Database Mapping"));

    m_grid = new QTableWidget(this);
    m_grid->setColumnCount(3);
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("No."), QStringLiteral("Common Name"), QStringLiteral("Subsystem Name")});
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_grid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont font = m_grid->font();
    font.setPointSize(9);
    m_grid->setFont(font);

    m_cutButton = new QPushButton(QStringLiteral("Cut"), this);
    m_cutButton->setToolTip(QStringLiteral("Cur Subsystem (CTRL+X)"));
    m_switchButton = new QPushButton(QStringLiteral("Switch"), this);
    m_switchButton->setToolTip(QStringLiteral("Switch Subsystems (CTRL+V)"));
    m_copyButton = new QPushButton(QStringLiteral("Copy as Text"), this);
    connect(m_cutButton, &QPushButton::clicked, this, &CDlgExpDatabaseMapping::OnCut);
    connect(m_switchButton, &QPushButton::clicked, this, &CDlgExpDatabaseMapping::OnSwitch);
    connect(m_copyButton, &QPushButton::clicked, this, &CDlgExpDatabaseMapping::OnCopyAsText);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_X), this), &QShortcut::activated, this,
            &CDlgExpDatabaseMapping::OnCut);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_V), this), &QShortcut::activated, this,
            &CDlgExpDatabaseMapping::OnSwitch);

    auto* tools = new QHBoxLayout;
    tools->addWidget(m_cutButton);
    tools->addWidget(m_switchButton);
    tools->addStretch();
    tools->addWidget(m_copyButton);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(m_grid, 1);
    layout->addWidget(buttons);
    resize(520, 420);
}

bool CDlgExpDatabaseMapping::OnInitDialog()
{
    QStringList sorted;
    for (const std::string& n : m_modelNames)
        sorted << QString::fromStdString(n);
    sorted.sort();
    m_grid->setItemDelegateForColumn(kSubsystemColumn, new SubsystemDelegate(sorted, m_grid));

    auto addRow = [this](int common, const QString& commonName, const QString& subsystem) {
        const int row = m_grid->rowCount();
        m_grid->insertRow(row);
        auto fixed = [](const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            return item;
        };
        m_grid->setItem(row, 0, fixed(QString::number(row + 1)));
        m_grid->setItem(row, 1, fixed(commonName));
        m_grid->setItem(row, kSubsystemColumn, new QTableWidgetItem(subsystem));
        m_rowCommon.push_back(common);
    };
    for (size_t i = 0; i < m_commonNames.size(); ++i)
        addRow(static_cast<int>(i), QString::fromStdString(m_commonNames[i]), QString());
    for (size_t s = 0; s < m_modelNames.size(); ++s) {
        const int entry = m_mapping[s];
        const QString name = QString::fromStdString(m_modelNames[s]);
        if (entry >= 0 && entry < static_cast<int>(m_commonNames.size()))
            SetSubsystemAt(entry, name);
        else
            addRow(-1, QString(), name);
    }
    return CZuDialog::OnInitDialog();
}

QString CDlgExpDatabaseMapping::SubsystemAt(int row) const
{
    const QTableWidgetItem* item = m_grid->item(row, kSubsystemColumn);
    return item ? item->text() : QString();
}

void CDlgExpDatabaseMapping::SetSubsystemAt(int row, const QString& name)
{
    if (QTableWidgetItem* item = m_grid->item(row, kSubsystemColumn))
        item->setText(name);
}

void CDlgExpDatabaseMapping::OnCut()
{
    const int row = m_grid->currentRow();
    if (m_cutRow >= 0 || row < 0 || m_grid->currentColumn() != kSubsystemColumn)
        return;
    m_cutRow = row;
    m_cutName = SubsystemAt(row);
    SetSubsystemAt(row, QString());
}

void CDlgExpDatabaseMapping::OnSwitch()
{
    const int row = m_grid->currentRow();
    if (m_cutRow < 0 || row < 0)
        return;
    // The cut cell shows empty; its subsystem is still the cut one.
    const QString previous = row == m_cutRow ? m_cutName : SubsystemAt(row);
    SetSubsystemAt(row, m_cutName);
    SetSubsystemAt(m_cutRow, previous);
    m_cutRow = -1;
    m_cutName.clear();
}

std::string CDlgExpDatabaseMapping::TableText() const
{
    std::string text;
    for (int c = 0; c < m_grid->columnCount(); ++c)
        text += m_grid->horizontalHeaderItem(c)->text().toStdString() + "\t";
    text += "\n";
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        for (int c = 0; c < m_grid->columnCount(); ++c) {
            const QTableWidgetItem* item = m_grid->item(r, c);
            text += (item ? item->text().toStdString() : std::string()) + "\t";
        }
        text += "\n";
    }
    return text;
}

void CDlgExpDatabaseMapping::OnCopyAsText()
{
    if (!SetClipboardText(TableText()))
        AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN, MB_OK | MB_ICONEXCLAMATION);
}

void CDlgExpDatabaseMapping::OnOK()
{
    // A pending cut goes back where it came from: OK takes what the table shows.
    if (m_cutRow >= 0) {
        SetSubsystemAt(m_cutRow, m_cutName);
        m_cutRow = -1;
    }
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        const std::string name = SubsystemAt(r).toStdString();
        if (name.empty())
            continue;
        const auto it = std::find(m_modelNames.begin(), m_modelNames.end(), name);
        if (it != m_modelNames.end())
            m_mapping[static_cast<size_t>(it - m_modelNames.begin())] = m_rowCommon[static_cast<size_t>(r)];
    }
    CZuDialog::OnOK();
}
