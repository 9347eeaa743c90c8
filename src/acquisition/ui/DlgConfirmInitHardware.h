#pragma once
// Asks before re-initialising acquisition units that are connected already.
#include "platform/ui/ZuDialog.h"

class CDlgConfirmInitHardware : public CZuDialog
{
    Q_OBJECT

public:
    explicit CDlgConfirmInitHardware(QWidget* parent = nullptr);
};
