#include "planning/ui/DlgWizSensorConfig.h"

namespace {
CDlgWizSensorConfig::SensorCommand& Command()
{
    static CDlgWizSensorConfig::SensorCommand command;
    return command;
}
} // namespace

void CDlgWizSensorConfig::SetSensorCommand(SensorCommand command)
{
    Command() = std::move(command);
}

bool CDlgWizSensorConfig::HasSensorCommand()
{
    return static_cast<bool>(Command());
}

CDlgWizSensorConfig::CDlgWizSensorConfig(QWidget* parent) : CZuDlgWizard(parent, kTemplateId)
{
    setObjectName(QStringLiteral("DlgWizSensorConfig"));
    setWindowTitle(QStringLiteral("Sensor Configuration"));
    UseBackground();
    SetFirstStepId(2001);
    BuildStepColumn(
        {{2001, "Import sensor list from Excel..."},
         {2002, "Load sensor information file..."},
         {2003, "Open sensor window"}},
        [this](int id) { OnStep(id); }, static_cast<bool>(Command()));
}

void CDlgWizSensorConfig::OnStep(int id)
{
    if (!Command())
        return;
    Command()(id == 2001 ? kCmdExcelImport : id == 2002 ? kCmdLoadFile : 0);
    EndDialog(IDOK);
}
