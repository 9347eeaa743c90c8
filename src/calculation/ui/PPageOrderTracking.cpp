#include "calculation/ui/PPageOrderTracking.h"

#include "platform/base/Format.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdlib>

CPPageOrderTracking::CPPageOrderTracking() : CZuPropertyPage(kTemplateId, "Order Tracking")
{
    setObjectName(QStringLiteral("PPageOrderTracking"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("c3177"));
    m_list->setMinimumHeight(120);
    m_value = new QLineEdit(this);
    m_value->setObjectName(QStringLiteral("c3073"));
    m_add = new QPushButton(tr("Add..."), this);
    m_add->setObjectName(QStringLiteral("c3001"));
    m_delete = new QPushButton(tr("Delete"), this);
    m_delete->setObjectName(QStringLiteral("c3230"));
    auto* layout = new QGridLayout(this);
    auto* form = new QFormLayout;
    form->addRow(tr("Order tracking value:"), m_value);
    layout->addLayout(form, 0, 0, 1, 2);
    layout->addWidget(m_list, 1, 0, 3, 1);
    layout->addWidget(m_add, 1, 1);
    layout->addWidget(m_delete, 2, 1);
    layout->setRowStretch(3, 1);
    connect(m_add, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(m_value, &QLineEdit::textEdited, this, [this] {
        if (m_filling || !m_pOptions)
            return;
        const float v = m_value->text().toFloat();
        m_options.SetOrderBandWidth(v);
        if (v != m_pOptions->GetOrderBandWidth())
            SetModified(true);
    });
}

bool CPPageOrderTracking::OnInitDialog()
{
    m_list->setEnabled(!m_bReadOnly);
    m_add->setEnabled(!m_bReadOnly);
    m_delete->setEnabled(!m_bReadOnly);
    m_value->setReadOnly(m_bReadOnly);
    if (!m_pOptions)
        return true;
    m_options = *m_pOptions;
    ShowCopy();
    return true;
}

void CPPageOrderTracking::ShowCopy()
{
    m_filling = true;
    m_value->setText(QString::fromStdString(Format("%g", double(m_options.GetOrderBandWidth()))));
    m_list->clear();
    const COrderList& orders = m_options.GetOrderList();
    for (int i = 0; i < orders.GetSize(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(Format("%g", orders[i])), m_list);
        item->setData(Qt::UserRole, i);
    }
    m_filling = false;
}

bool CPPageOrderTracking::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate || !m_pOptions || m_bReadOnly)
        return true;
    bool ok = false;
    const float v = m_value->text().toFloat(&ok);
    if (!ok || v < kMinValue || v > kMaxValue) {
        AfxMessageBox(Format("Please enter a number between %g and %g.", double(kMinValue), double(kMaxValue)),
                      MB_OK | MB_ICONEXCLAMATION);
        m_value->setFocus();
        return false;
    }
    m_options.SetOrderBandWidth(v);
    return true;
}

bool CPPageOrderTracking::OnKillActive()
{
    return UpdateData(true);
}

void CPPageOrderTracking::OnAdd()
{
    std::string text;
    if (!InputBox(LoadString(IDS_ORDER_PROMPT), LoadString(IDS_ORDER_CAPTION), text, this))
        return;
    const double order = std::strtod(text.c_str(), nullptr);
    if (!(order > 0.0)) {
        AfxMessageBox(IDS_ORDER_NOT_POSITIVE);
        return;
    }
    COrderList& orders = m_options.GetOrderList();
    if (orders.Find(order) >= 0)
        return; // already listed
    orders.Add(order);
    orders.Sort();
    ShowCopy();
    SetModified(true);
}

void CPPageOrderTracking::OnDelete()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    COrderList& orders = m_options.GetOrderList();
    const int index = item->data(Qt::UserRole).toInt();
    if (index < 0 || index >= orders.GetSize())
        return;
    orders.RemoveAt(index);
    orders.Sort();
    ShowCopy();
    SetModified(true);
}

void CPPageOrderTracking::OnOK()
{
    if (!m_pOptions || !IsInitialized() || m_bReadOnly)
        return;
    if (m_options.GetOrderBandWidth() != m_pOptions->GetOrderBandWidth())
        m_pOptions->SetOrderBandWidth(m_options.GetOrderBandWidth());
    if (m_options.GetOrderList() != m_pOptions->GetOrderList())
        m_pOptions->SetOrderList(m_options.GetOrderList());
}
