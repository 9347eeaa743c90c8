#include "acquisition/ui/DlgSelectBundle.h"

#include "platform/ui/DialogButtons.h"

#include "experiments/SensorBundle.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

CDlgSelectBundle::CDlgSelectBundle(QWidget* parent) : CZuDialog(parent, IDD)
{
    setObjectName(QStringLiteral("DlgSelectBundle"));
    setWindowTitle(QStringLiteral("Select Bundles"));
    m_list = new QTableWidget(0, 1, this);
    m_list->setObjectName(QStringLiteral("Control%1").arg(IDC_LIST));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Bundle")});
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 100);
    m_list->verticalHeader()->setVisible(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setMinimumSize(240, 200);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
}

bool CDlgSelectBundle::OnInitDialog()
{
    m_list->setRowCount(static_cast<int>(m_candidates.size()));
    for (int r = 0; r < static_cast<int>(m_candidates.size()); ++r) {
        CSensorBundle* bundle = m_candidates[static_cast<size_t>(r)];
        auto* item = new QTableWidgetItem(bundle ? QString::fromStdString(bundle->GetID()) : QString());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const bool ticked = std::find(m_selected.begin(), m_selected.end(), bundle) != m_selected.end();
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        m_list->setItem(r, 0, item);
    }
    return CZuDialog::OnInitDialog();
}

void CDlgSelectBundle::OnOK()
{
    m_selected.clear();
    for (int r = 0; r < m_list->rowCount() && r < static_cast<int>(m_candidates.size()); ++r) {
        CSensorBundle* bundle = m_candidates[static_cast<size_t>(r)];
        if (bundle && m_list->item(r, 0) && m_list->item(r, 0)->checkState() == Qt::Checked)
            m_selected.push_back(bundle);
    }
    CZuDialog::OnOK();
}
