#include "acquisition/ui/DlgQMXConnection.h"

#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgBlixStatus.h"
#include "acquisition/ui/DlgConnectWaiting.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/ZuRegOptions.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

CDlgQMXConnection::CDlgQMXConnection(CMultiQMXInterface* units, QWidget* parent)
    : CZuDialog(parent, 4098), m_units(units)
{
    setObjectName(QStringLiteral("DlgQMXConnection"));
    setWindowTitle(QStringLiteral("QMX Connection"));

    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName(QStringLiteral("Units3163"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("No."), QStringLiteral("IP Address")});
    m_list->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->setColumnWidth(0, 40);
    m_list->setColumnWidth(1, 150);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setMinimumSize(220, 160);

    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("Address"));
    m_address->setPlaceholderText(QStringLiteral("IP address of the unit"));

    auto* side = new QVBoxLayout;
    AddButton(QStringLiteral("Connect"), 2001);
    AddButton(QStringLiteral("Disconnect"), 2002);
    AddButton(QStringLiteral("Initialize"), 2004);
    AddButton(QStringLiteral("Status..."), 2003);
    m_moveUp = AddButton(QString(), 3020);
    m_moveUp->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_moveUp->setToolTip(QStringLiteral("Move up"));
    m_moveDown = AddButton(QString(), 3019);
    m_moveDown->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    m_moveDown->setToolTip(QStringLiteral("Move down"));
    for (int id : {2001, 2002, 2004, 2003})
        side->addWidget(Button(id));
    auto* moves = new QHBoxLayout;
    moves->addWidget(m_moveUp);
    moves->addWidget(m_moveDown);
    side->addLayout(moves);
    side->addStretch(1);

    auto* addressRow = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Address:"), this);
    label->setBuddy(m_address);
    addressRow->addWidget(label);
    addressRow->addWidget(m_address, 1);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addLayout(addressRow, 0, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->addWidget(close, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    resize(440, 300);
}

QPushButton* CDlgQMXConnection::AddButton(const QString& text, int id)
{
    auto* b = new QPushButton(text, this);
    b->setObjectName(QStringLiteral("Button%1").arg(id));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, id] {
        switch (id) {
        case 2001:
            OnConnect();
            break;
        case 2002:
            OnDisconnect();
            break;
        case 2003:
            OnStatus();
            break;
        case 2004:
            OnInitialize();
            break;
        case 3020:
            OnMoveUp();
            break;
        case 3019:
            OnMoveDown();
            break;
        default:
            break;
        }
    });
    return b;
}

QPushButton* CDlgQMXConnection::Button(int id) const
{
    return findChild<QPushButton*>(QStringLiteral("Button%1").arg(id));
}

bool CDlgQMXConnection::OnInitDialog()
{
    m_address->setText(QString::fromStdString(GetProfileString("QMX", "IP", "0.0.0.0")));
    Refill();
    return true;
}

int CDlgQMXConnection::SelectedRow() const
{
    const auto rows = m_list->selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& i : rows) {
        if (first < 0 || i.row() < first)
            first = i.row();
    }
    return first;
}

void CDlgQMXConnection::Refill()
{
    m_list->setRowCount(0);
    if (!m_units)
        return;
    const int n = m_units->GetUnitCount();
    m_list->setRowCount(n);
    for (int i = 0; i < n; ++i) {
        auto* number = new QTableWidgetItem(QString::fromStdString(Format("%d", i + 1)));
        number->setData(Qt::UserRole, i);
        m_list->setItem(i, 0, number);
        m_list->setItem(i, 1, new QTableWidgetItem(QString::fromStdString(m_units->GetUnit(i)->GetAddress())));
    }
}

bool CDlgQMXConnection::Confirm()
{
    return AfxMessageBox(IDS_CONNECT_HARDWARE, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void CDlgQMXConnection::OnConnect()
{
    if (!m_units || !Confirm())
        return;
    // The new unit connects to the address of the field.
    const std::string address = m_address->text().trimmed().toStdString();
    if (!address.empty())
        WriteProfileString("QMX", "IP", address);
    CWaitCursor wait;
    CDlgConnectWaiting waiting;
    waiting.ShowNow();
    const int added = m_units->AddUnit();
    waiting.hide();
    if (added)
        Refill();
    else
        AfxMessageBox(IDS_SETUP_FAILED);
}

void CDlgQMXConnection::OnDisconnect()
{
    const int row = SelectedRow();
    if (!m_units || row < 0)
        return;
    if (m_units->RemoveUnit(row))
        Refill();
    else
        AfxMessageBox("Failed to disconnect to QMX.", MB_OK);
}

void CDlgQMXConnection::OnStatus()
{
    CDlgBlixStatus::CModal status(m_units, this);
    status.DoModal();
}

void CDlgQMXConnection::OnMoveUp()
{
    const int row = SelectedRow();
    if (!m_units || row < 0 || row - 1 < 0)
        return;
    m_units->SwapUnits(row, row - 1);
    Refill();
    m_list->selectRow(row - 1);
}

void CDlgQMXConnection::OnMoveDown()
{
    const int row = SelectedRow();
    if (!m_units || row < 0 || row + 1 >= m_units->GetUnitCount())
        return;
    m_units->SwapUnits(row, row + 1);
    Refill();
    m_list->selectRow(row + 1);
}

void CDlgQMXConnection::OnInitialize()
{
    if (!m_units || !Confirm())
        return;
    CWaitCursor wait;
    CDlgConnectWaiting waiting;
    waiting.ShowNow();
    const bool ok = m_units->Initialize();
    waiting.hide();
    if (!ok)
        AfxMessageBox(IDS_SETUP_FAILED);
}
