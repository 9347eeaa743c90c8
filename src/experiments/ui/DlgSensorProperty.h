#pragma once
// The properties of one sensor: ID, maker data, sensitivity, limit and the unit. New-sensor mode
// is modeless and stays open, sending each checked entry to its owner; edit mode is modal.
#include "platform/ui/ZuDialog.h"

#include <functional>
#include <string>

#include "experiments/SensorProject.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CDlgSensorProperty : public CZuDialog
{
    Q_OBJECT
public:
    explicit CDlgSensorProperty(QWidget* parent = nullptr, bool newSensor = false);

    // The values being edited.
    SensorDialogValues m_values;
    int m_channel = -1;    // carried, not part of the sensor
    float m_scale = 1.0f;  // carried
    std::string m_comment; // carried
    bool m_editableValues = true;
    bool m_compact = false;
    bool m_unitEnabled = true;

    bool IsNewSensorMode() const { return m_newSensor; }
    // New-sensor mode: called with each entry that passed the checks; then the next automatic ID
    // is set. Closing calls onClosed.
    std::function<void(CDlgSensorProperty&)> onAdd;
    std::function<void()> onClosed;
    // The unit choice of the combo box (0..3); the conversion box follows it.
    void SetUnitChoice(int choice);
    // The next "Sensor%d" of the program-wide counter.
    static std::string NextAutomaticID();

    QLineEdit* IdEdit() const { return m_id; }
    QLineEdit* SensitivityEdit() const { return m_sensitivity; }
    QLineEdit* LimitEdit() const { return m_limit; }
    QComboBox* UnitCombo() const { return m_unit; }
    QCheckBox* ConvertBox() const { return m_convert; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnConvert();

    bool m_newSensor;
    QLineEdit* m_id;
    QLineEdit* m_manufacturer;
    QLineEdit* m_model;
    QLineEdit* m_serial;
    QLineEdit* m_sensitivity;
    QLineEdit* m_limit;
    QComboBox* m_unit;
    QCheckBox* m_convert;
    QPushButton* m_ok;
};
