#include "uff/UFImportUI.h"

namespace {
IUFImportUI* g_ui = nullptr;
}

IUFImportUI* GetUFImportUI()
{
    return g_ui;
}

void SetUFImportUI(IUFImportUI* ui)
{
    g_ui = ui;
}
