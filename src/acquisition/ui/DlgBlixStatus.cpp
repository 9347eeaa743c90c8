#include "acquisition/ui/DlgBlixStatus.h"

#include "acquisition/MultiQMXInterface.h"
#include "acquisition/QmxBlixChMgr.h"
#include "platform/base/Format.h"
#include "platform/win/WaitCursor.h"

#include <QColor>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
// The grid's sizes as the window always had them, in pixels of a 96-dpi screen.
constexpr int kHeadingWidth = 107;
constexpr int kCellWidth = 60;
constexpr int kRowHeight = 34;
constexpr int kMinChannels = 8;
const QColor kNormal(0, 255, 0);
const QColor kFlagged(255, 255, 0);
} // namespace

void CDlgBlixStatus::CChainList::Build(const CQmxBlixChMgr& inventory)
{
    clear();
    for (const CQmxBlixInfo& unit : inventory.GetBlixInfoList().Items()) {
        const CQmxBoardInfo* board = unit.GetBoard();
        const int chain = unit.GetChain();
        const bool known =
            std::any_of(begin(), end(), [&](const CChainData& e) { return e.board == board && e.chain == chain; });
        if (!known)
            push_back({board, chain, {}});
    }
    for (CChainData& entry : *this) {
        entry.channels.clear();
        for (const CQmxBlixChInfo& ch : inventory.GetBlixChInfoList().Items()) {
            const CQmxBlixInfo* unit = ch.GetBlix();
            if (unit && unit->GetBoard() == entry.board && unit->GetChain() == entry.chain)
                entry.channels.push_back({&ch});
        }
    }
}

CDlgBlixStatus::CModal::CModal(CMultiQMXInterface* units, QWidget* parent)
    : m_dialog(std::make_unique<CDlgBlixStatus>(units, 1, parent))
{}

CDlgBlixStatus::CModal::~CModal() = default;

int CDlgBlixStatus::CModal::DoModal()
{
    return m_dialog->DoModal();
}

CDlgBlixStatus::CDlgBlixStatus(CMultiQMXInterface* units, int modal, QWidget* parent)
    : CZuDialog(parent, 4021), m_units(units), m_modal(modal)
{
    setObjectName(QStringLiteral("DlgBlixStatus"));
    setWindowTitle(QStringLiteral("BLIX Status"));
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("Grid3262"));
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setWordWrap(true);

    m_normalLegend = new CColorStaticST(QStringLiteral("  Normal  "), this);
    m_normalLegend->setObjectName(QStringLiteral("Legend3174"));
    m_flaggedLegend = new CColorStaticST(QStringLiteral("  Status bit set  "), this);
    m_flaggedLegend->setObjectName(QStringLiteral("Legend3145"));
    for (auto [label, colour] : {std::pair{m_normalLegend, kNormal}, std::pair{m_flaggedLegend, kFlagged}}) {
        label->SetTextColor(RGB(0, 0, 0));
        label->SetBkColor(RGB(colour.red(), colour.green(), colour.blue()));
        label->setFrameShape(QFrame::Box);
    }
    auto* refresh = new QPushButton(QStringLiteral("Refresh"), this);
    refresh->setObjectName(QStringLiteral("Refresh3029"));
    connect(refresh, &QPushButton::clicked, this, &CDlgBlixStatus::OnRefresh);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(refresh);
    top->addStretch(1);
    top->addWidget(m_normalLegend);
    top->addWidget(m_flaggedLegend);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addWidget(close);
    resize(kHeadingWidth + kMinChannels * kCellWidth + 60, 320);
}

CDlgBlixStatus::~CDlgBlixStatus() = default;

CDlgBlixStatus* CDlgBlixStatus::ShowInstance(CMultiQMXInterface* units, QWidget* parent)
{
    return Instances().ShowFor(ProgramKey(), [&] {
        auto* status = new CDlgBlixStatus(units, 0, parent);
        status->Create();
        return status;
    });
}

bool CDlgBlixStatus::OnInitDialog()
{
    CWaitCursor wait;
    return Show(false);
}

void CDlgBlixStatus::OnCancel()
{
    if (!m_modal && GetInstance() == this)
        Instances().Release(ProgramKey());
    CZuDialog::OnCancel();
}

void CDlgBlixStatus::OnRefresh()
{
    CWaitCursor wait;
    Show(true);
}

bool CDlgBlixStatus::Show(bool reinitialise)
{
    if (!m_units)
        return false;
    if (reinitialise && (!m_units->Initialize() || !m_units->MergeUnitInfo()))
        return false;
    m_chains.Build(m_units->GetChannelManager());
    FillGrid();
    return true;
}

void CDlgBlixStatus::FillGrid()
{
    m_grid->clear();
    size_t widest = kMinChannels;
    for (const CChainData& entry : m_chains)
        widest = std::max(widest, entry.channels.size());
    const int columns = static_cast<int>(widest) + 1;
    m_grid->setColumnCount(columns);
    m_grid->setRowCount(static_cast<int>(m_chains.size()));
    QStringList headings{QStringLiteral("Slot - Chain")};
    for (int c = 1; c < columns; ++c)
        headings << QString::fromStdString(Format("BLIX %1d", (c - 1) / 2 + 1));
    m_grid->setHorizontalHeaderLabels(headings);
    m_grid->setColumnWidth(0, kHeadingWidth);
    for (int c = 1; c < columns; ++c)
        m_grid->setColumnWidth(c, kCellWidth);

    m_unitFlagged = 0;
    for (int r = 0; r < static_cast<int>(m_chains.size()); ++r) {
        const CChainData& entry = m_chains[static_cast<size_t>(r)];
        const int slot = entry.board ? entry.board->GetSlot() : 0;
        auto* heading = new QTableWidgetItem(
            QString::fromStdString(Format("Slot %d - Chain %s", slot, entry.chain == 0 ? "A" : "B")));
        heading->setBackground(palette().color(QPalette::Button));
        m_grid->setItem(r, 0, heading);
        m_grid->setRowHeight(r, kRowHeight);
        for (size_t c = 0; c < entry.channels.size(); ++c) {
            const CQmxBlixChInfo* ch = entry.channels[c].channel;
            const CQmxBlixInfo* unit = ch->GetBlix();
            auto* cell = new QTableWidgetItem(QString::fromStdString(
                Format("%s\n#%d", ch->GetBlixSerial().c_str(), static_cast<int>(ch->GetUnitChannel()))));
            cell->setTextAlignment(Qt::AlignCenter);
            const bool flagged = unit && unit->IsStatusFlagSet();
            cell->setBackground(flagged ? kFlagged : kNormal);
            cell->setForeground(QColor(Qt::black));
            if (flagged)
                m_unitFlagged = 1;
            m_grid->setItem(r, static_cast<int>(c) + 1, cell);
        }
    }
}
