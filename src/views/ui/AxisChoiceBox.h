#pragma once
// The "Axis" group of the comparison dialogs over engine speed: levels over frequency at one RPM
// (choice 0, checked at first) or over RPM at one band (choice 1).
#include <functional>

class QGroupBox;
class QRadioButton;
class QWidget;

// Builds the group into radios[0] and radios[1]; a click hands the choice to onAxis.
QGroupBox* AxisChoiceBox(QWidget* parent, QRadioButton* (&radios)[2], std::function<void(int)> onAxis);
