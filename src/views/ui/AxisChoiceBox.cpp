#include "views/ui/AxisChoiceBox.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

QGroupBox* AxisChoiceBox(QWidget* parent, QRadioButton* (&radios)[2], std::function<void(int)> onAxis)
{
    auto* axisBox = new QGroupBox(QObject::tr("Axis"), parent);
    auto* axisRow = new QHBoxLayout(axisBox);
    auto* axes = new QButtonGroup(parent);
    radios[0] = new QRadioButton(QObject::tr("Frequency at RPM"), axisBox);
    radios[1] = new QRadioButton(QObject::tr("RPM at band"), axisBox);
    for (int a = 0; a < 2; ++a) {
        axes->addButton(radios[a], a);
        axisRow->addWidget(radios[a]);
    }
    radios[0]->setChecked(true);
    QObject::connect(axes, &QButtonGroup::idClicked, parent, std::move(onAxis));
    return axisBox;
}
