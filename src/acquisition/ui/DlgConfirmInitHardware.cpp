#include "acquisition/ui/DlgConfirmInitHardware.h"

#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

CDlgConfirmInitHardware::CDlgConfirmInitHardware(QWidget* parent) : CZuDialog(parent, 4007)
{
    setObjectName(QStringLiteral("DlgConfirmInitHardware"));
    setWindowTitle(QStringLiteral("Acquisition hardware"));
    auto* text = new QLabel(QStringLiteral("Initialise the connected acquisition units now?\n"
                                           "The units need 30 seconds to settle afterwards."),
                            this);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}
