#pragma once
// The button rows at the foot of the dialogs, made one way: the standard buttons in the
// platform's order and texts, OK (and Enter) accepting the dialog, Cancel, Escape and the close
// box rejecting it. A dialog whose OK or Cancel does more than accept or reject gives its own
// handlers.
#include <QDialogButtonBox>

#include <functional>

class QDialog;

class CDialogButtons
{
public:
    // OK and Cancel: OK accepts the dialog, Cancel rejects it (each through the dialog's own
    // accept and reject, so overrides run).
    static QDialogButtonBox* OkCancel(QDialog* dialog);
    // OK and Cancel calling the handlers given.
    static QDialogButtonBox* OkCancel(QDialog* dialog, std::function<void()> onOk, std::function<void()> onCancel);
};
