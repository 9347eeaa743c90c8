#pragma once
// Wizard step: the sensor catalogue, imported from a workbook, loaded from a sensor information
// file or edited in the sensor window. The sensor window belongs to the main window, which
// installs how it is opened and given a command.
#include "platform/win/CommandIds.h"
#include "planning/ui/ZuDlgWizard.h"

#include <functional>

class CDlgWizSensorConfig : public CZuDlgWizard
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4202;
    static constexpr int kCmdExcelImport = CommandId::ID_SENSOR_EXCEL_IMPORT; // the sensor list view's workbook import
    static constexpr int kCmdLoadFile = CommandId::ID_SENSOR_IMPORT;          // the sensor document's file load

    // Opens the sensor window and sends it the command (0: only opens); false when it cannot.
    using SensorCommand = std::function<bool(int command)>;
    static void SetSensorCommand(SensorCommand command);
    static bool HasSensorCommand();

    explicit CDlgWizSensorConfig(QWidget* parent = nullptr);

    void OnStep(int id);
};
