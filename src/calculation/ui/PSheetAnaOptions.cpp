#include "calculation/ui/PSheetAnaOptions.h"

#include "platform/win/StringTable.h"

CPSheetAnaOptions::CPSheetAnaOptions(uint32_t captionId, QWidget* parent, int firstPage)
    : CZuPropertySheet(LoadString(captionId), parent, firstPage)
{
    setObjectName(QStringLiteral("PSheetAnaOptions"));
    HideApplyButton();
}
