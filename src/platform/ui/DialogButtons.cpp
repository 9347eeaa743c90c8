#include "platform/ui/DialogButtons.h"

#include <QDialog>

QDialogButtonBox* CDialogButtons::OkCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QDialogButtonBox* CDialogButtons::OkCancel(QDialog* dialog, std::function<void()> onOk, std::function<void()> onCancel)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, std::move(onOk));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, std::move(onCancel));
    return buttons;
}
