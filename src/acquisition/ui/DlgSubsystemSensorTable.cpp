#include "acquisition/ui/DlgSubsystemSensorTable.h"

#include "acquisition/ui/DlgSelectBundle.h"
#include "acquisition/ui/EnsureQMXConnection.h"
#include "experiments/Sensor.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorGroup.h"
#include "platform/base/Format.h"
#include "platform/ui/FlexGridEx.h"
#include "platform/win/PromptService.h"
#include "platform/win/WaitCursor.h"
#include "platform/ui/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Grid widths of the table's layout, in pixels (the first column holds the subsystem name).
constexpr int kNameColumnWidth = 133;
constexpr int kLpColumnWidth = 80;

} // namespace

CDlgSubsystemSensorTable* CDlgSubsystemSensorTable::CreateInstance(const void* key, QWidget* parent)
{
    return Instances().RegisterNew(key, [parent] { return new CDlgSubsystemSensorTable(0, parent); });
}

bool CDlgSubsystemSensorTable::DestroyInstance(const void* key)
{
    // Gone at once, not on the next loop turn.
    QWidget* table = Instances().Release(key);
    delete table;
    return table != nullptr;
}

CDlgSubsystemSensorTable::CDlgSubsystemSensorTable(int modal, QWidget* parent) : CZuDialog(parent, IDD), m_bModal(modal)
{
    setObjectName(QStringLiteral("DlgSubsystemSensorTable"));
    setWindowTitle(QStringLiteral("Subsystem Sensor Table"));
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("Control%1").arg(IDC_CHANNEL));
    m_combo->setMinimumWidth(140);
    m_list = new QTableWidget(0, 1 + kBundleColumns, this);
    m_list->setObjectName(QStringLiteral("Control%1").arg(IDC_SUBSYSTEMS));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->setVisible(false);
    m_list->setMinimumHeight(140);
    m_grid = new CFlexGridEx(this);
    m_grid->setObjectName(QStringLiteral("Control%1").arg(IDC_GRID));
    m_grid->SetEditFlags(0);
    m_grid->setMinimumHeight(120);
    auto* comboRow = new QHBoxLayout;
    comboRow->addWidget(new QLabel(tr("Channel:"), this));
    comboRow->addWidget(m_combo);
    comboRow->addStretch(1);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(comboRow);
    layout->addWidget(m_grid, 1);
    layout->addWidget(buttons);
    setMinimumSize(620, 440);

    connect(m_list, &QTableWidget::cellClicked, this, [this](int row, int) { SelectSubsystem(row); });
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        SelectSubsystem(row);
        OnSelectBundle();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { OnGridCell(m_grid->GetRow(), m_grid->GetCol()); });
    connect(m_combo, qOverload<int>(&QComboBox::activated), this, &CDlgSubsystemSensorTable::OnChannelChosen);
}

CDlgSubsystemSensorTable::~CDlgSubsystemSensorTable() = default;

bool CDlgSubsystemSensorTable::OnInitDialog()
{
    CWaitCursor wait;
    QStringList headers{QStringLiteral("Subsystem")};
    for (int i = 1; i <= kBundleColumns; ++i)
        headers << QStringLiteral("Bundle %1").arg(i);
    m_list->setHorizontalHeaderLabels(headers);
    m_list->setColumnWidth(0, 150);
    for (int i = 1; i <= kBundleColumns; ++i)
        m_list->setColumnWidth(i, 70);
    m_table = std::make_unique<CSubsystemSensorTable>(m_data.sensors, m_data.systemChannels);
    if (!EnsureQMXConnection(m_data.project, 0, 0, this)) {
        // Without the units the table can only be looked at.
        m_readOnly = true;
        m_list->setEnabled(false);
        m_combo->setEnabled(false);
        m_grid->setEnabled(false);
        if (auto* box = findChild<QDialogButtonBox*>())
            box->button(QDialogButtonBox::Ok)->setEnabled(false);
        return true;
    }
    std::vector<std::string> missing;
    m_table->Build(m_data.subsystems, &missing);
    for (const std::string& id : missing)
        AfxMessageBox(Format("Sensor not found.\n\nSensor ID: %s", id.c_str()), MB_OK | MB_ICONEXCLAMATION);
    m_nSelected = 0;
    FillList();
    FillGrid();
    return true;
}

std::unique_ptr<CSensorGroup> CDlgSubsystemSensorTable::LookupSubsystem(const std::string& name) const
{
    return m_table ? m_table->LookupSubsystem(name) : nullptr;
}

void CDlgSubsystemSensorTable::FillList()
{
    if (!m_table)
        return;
    size_t most = kBundleColumns;
    for (int i = 0; i < m_table->GetCount(); ++i)
        most = std::max(most, m_table->Get(i).bundles.size());
    // More bundles than columns: further columns named by their index.
    for (int c = m_list->columnCount(); c <= static_cast<int>(most); ++c) {
        m_list->insertColumn(c);
        m_list->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromStdString(Format("BLIX %d", c))));
        m_list->setColumnWidth(c, 70);
    }
    m_list->setRowCount(m_table->GetCount());
    for (int r = 0; r < m_table->GetCount(); ++r) {
        const CSSData& ss = m_table->Get(r);
        m_list->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(ss.name)));
        for (int c = 1; c < m_list->columnCount(); ++c) {
            const size_t b = static_cast<size_t>(c - 1);
            const QString text = b < ss.bundles.size() && ss.bundles[b].bundle
                                     ? QString::fromStdString(ss.bundles[b].bundle->GetBundleName())
                                     : QString();
            m_list->setItem(r, c, new QTableWidgetItem(text));
        }
    }
    if (m_nSelected >= 0 && m_nSelected < m_list->rowCount())
        m_list->selectRow(m_nSelected);
}

void CDlgSubsystemSensorTable::FillGrid()
{
    const CSSData* ss =
        m_table && m_nSelected >= 0 && m_nSelected < m_table->GetCount() ? &m_table->Get(m_nSelected) : nullptr;
    const int lps = ss ? static_cast<int>(ss->lps.size()) : 0;
    QSignalBlocker block(m_grid->selectionModel());
    m_grid->SetRows(4);
    m_grid->SetCols(std::max(2, lps + 1));
    m_grid->SetFixedRows(1);
    m_grid->SetFixedCols(1);
    m_grid->Clear();
    m_grid->SetColWidth(0, kNameColumnWidth);
    m_grid->SetTextMatrix(0, 0, "Subsystem");
    for (int c = 1; c < m_grid->GetCols(); ++c)
        m_grid->SetColWidth(c, kLpColumnWidth);
    for (int i = 0; i < lps; ++i) {
        const CLPData& lp = ss->lps[static_cast<size_t>(i)];
        m_grid->SetTextMatrix(0, i + 1, Format("LP#%d", i + 1));
        m_grid->SetTextMatrix(1, i + 1, lp.channel ? lp.channel->GetDisplayText() : std::string());
        m_grid->SetTextMatrix(2, i + 1, lp.sensor ? lp.sensor->GetID() : std::string());
        m_grid->SetTextMatrix(3, i + 1, lp.sensor ? lp.sensor->GetSerialNumber() : std::string());
    }
    for (int r = 1; r <= 3; ++r)
        m_grid->SetTextMatrix(r, 0, ss ? ss->name : std::string());
}

void CDlgSubsystemSensorTable::SelectSubsystem(int index)
{
    if (!m_table || index < 0 || index >= m_table->GetCount())
        return;
    m_nSelected = index;
    m_combo->clear();
    m_comboLp = -1;
    FillGrid();
}

void CDlgSubsystemSensorTable::OnSelectBundle()
{
    if (!m_table || m_readOnly || m_nSelected < 0 || m_nSelected >= m_table->GetCount())
        return;
    CSSData& ss = m_table->Get(m_nSelected);
    CDlgSelectBundle dialog(this);
    if (ss.inventory)
        for (CSensorBundle* bundle : m_table->CandidateBundles(*ss.inventory))
            dialog.AddCandidate(bundle);
    for (const CBundleData& b : ss.bundles)
        dialog.AddSelected(b.bundle);
    if (dialog.DoModal() != IDOK)
        return;
    m_table->SetBundles(m_nSelected, dialog.GetSelected());
    m_combo->clear();
    m_comboLp = -1;
    FillList();
    FillGrid();
}

void CDlgSubsystemSensorTable::OnGridCell(int row, int col)
{
    m_combo->clear();
    m_comboLp = -1;
    if (!m_table || row != 1 || col < 1 || m_nSelected < 0 || m_nSelected >= m_table->GetCount())
        return;
    const int lp = col - 1;
    if (lp >= static_cast<int>(m_table->Get(m_nSelected).lps.size()))
        return;
    int current = -1;
    for (const auto& choice : m_table->ChannelChoices(m_nSelected, lp, &current))
        m_combo->addItem(QString::fromStdString(choice.label), choice.data);
    m_combo->setCurrentIndex(current);
    m_comboLp = lp;
}

void CDlgSubsystemSensorTable::OnChannelChosen(int entry)
{
    if (!m_table || m_comboLp < 0 || entry < 0 || entry >= m_combo->count())
        return;
    if (m_table->ChooseChannel(m_nSelected, m_comboLp, m_combo->itemData(entry).toInt()))
        FillGrid();
}

void CDlgSubsystemSensorTable::OnOK()
{
    if (!m_table || m_readOnly)
        return;
    CSubsystemSensorTable::CFinding finding;
    if (!m_table->Validate(finding)) {
        PromptMessageBox(finding.messageId, finding.text, std::string(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Finish(1);
}

void CDlgSubsystemSensorTable::OnCancel()
{
    Finish(2);
}

void CDlgSubsystemSensorTable::Finish(int code)
{
    if (m_bModal || !IsModeless()) {
        code == 1 ? CZuDialog::OnOK() : CZuDialog::OnCancel();
        return;
    }
    hide();
    if (onClosed)
        onClosed(code);
    DestroyWindow();
}
