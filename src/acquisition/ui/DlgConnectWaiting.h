#pragma once
// The small window shown while a unit is connected or initialised; centred on the screen.
#include "platform/ui/ZuDialog.h"

class CDlgConnectWaiting : public CZuDialog
{
    Q_OBJECT

public:
    CDlgConnectWaiting();
    // Shows it at once (the work that follows blocks the event loop).
    void ShowNow();

    // Windows shown so far (tests).
    static int ShownCount();

protected:
    bool OnInitDialog() override;

private:
    void Centre();
};
