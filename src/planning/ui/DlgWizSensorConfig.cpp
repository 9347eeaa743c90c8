#include "planning/ui/DlgWizSensorConfig.h"

#include "platform/ui/ColorButton.h"

#include <QVBoxLayout>

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

CDlgWizSensorConfig::CDlgWizSensorConfig(QWidget* parent) : CZuDlgWizard(parent, kTemplateId)
{
    setObjectName(QStringLiteral("DlgWizSensorConfig"));
    setWindowTitle(QStringLiteral("Sensor Configuration"));
    UseBackground();
    SetFirstStepId(2001);
    auto* layout = new QVBoxLayout(this);
    const bool available = static_cast<bool>(Command());
    const std::pair<int, const char*> steps[] = {{2001, "Import sensor list from Excel..."},
                                                 {2002, "Load sensor information file..."},
                                                 {2003, "Open sensor window"}};
    for (const auto& [id, text] : steps) {
        CColorButton* b = AddStepButton(id, QString::fromLatin1(text), kAvailableColor);
        b->setEnabled(available);
        connect(b, &QPushButton::clicked, this, [this, id = id] { OnStep(id); });
        layout->addWidget(b);
    }
    auto* close = new CColorButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->SetColors(RGB(0, 0, 0), kAvailableColor);
    connect(close, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
    layout->addWidget(close);
    resize(300, sizeHint().height());
}

void CDlgWizSensorConfig::OnStep(int id)
{
    if (!Command())
        return;
    Command()(id == 2001 ? kCmdExcelImport : id == 2002 ? kCmdLoadFile : 0);
    EndDialog(IDOK);
}
