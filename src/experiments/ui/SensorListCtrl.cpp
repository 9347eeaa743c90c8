#include "experiments/ui/SensorListCtrl.h"

#include <QHeaderView>

#include "common/Quantity.h"
#include "experiments/Sensor.h"
#include "platform/base/Format.h"
#include "platform/gfx/GfxUtil.h"

CSensorListCtrl::CSensorListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setAlternatingRowColors(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHeaderLabels({QStringLiteral("Sensor ID"), QStringLiteral("Manufacturer"), QStringLiteral("Model"),
                     QStringLiteral("Serial #"), QStringLiteral("Sensitivity"), QStringLiteral("Unit"),
                     QStringLiteral("Limit")});
    // Wide enough for the texts engineers type; the header still lets the user widen them.
    const int widths[] = {120, 120, 100, 90, 80, 80, 70};
    for (int c = 0; c < 7; ++c)
        setColumnWidth(c, widths[c]);
}

void CSensorListCtrl::Fill(const CMElement* category)
{
    clear();
    if (!category)
        return;
    for (int i = 0; i < category->GetChildCount(); ++i) {
        const auto* sensor = DynamicDowncast<CSensor>(category->GetChild(i));
        if (!sensor)
            continue;
        const CHANNELINFO& ch = sensor->GetChannelInfo();
        auto* item = new QTreeWidgetItem(this);
        item->setText(0, QString::fromStdString(sensor->GetName()));
        item->setText(1, QString::fromStdString(sensor->GetManufacturer()));
        item->setText(2, QString::fromStdString(sensor->GetModel()));
        item->setText(3, QString::fromStdString(sensor->GetSerialNumber()));
        item->setText(4, QString::fromStdString(CGfxUtil::GenFormat(ch.Sensitivity, 4)));
        item->setText(5, QString::fromStdString("mV/" + GetQuantityUnitName(ch.DataType, ch.Unit)));
        item->setText(6, QString::fromStdString(Format("%g", static_cast<double>(ch.Limit))));
        for (int c = 4; c <= 6; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, Qt::UserRole, sensor->GetType());
    }
}

int CSensorListCtrl::FindRow(const std::string& id) const
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->text(0).toStdString() == id)
            return i;
    return -1;
}

std::vector<std::string> CSensorListCtrl::SelectedIDs() const
{
    std::vector<std::string> ids;
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->isSelected())
            ids.push_back(topLevelItem(i)->text(0).toStdString());
    return ids;
}
