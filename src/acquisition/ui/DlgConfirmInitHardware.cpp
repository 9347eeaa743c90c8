#include "acquisition/ui/DlgConfirmInitHardware.h"

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
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}
