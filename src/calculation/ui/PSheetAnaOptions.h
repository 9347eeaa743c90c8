#pragma once
// The sheet of analysis option pages. The pages take effect on OK only, so it has no Apply button;
// the caller adds the pages that apply, in its own order.
#include "platform/ui/ZuPropertySheet.h"

#include <cstdint>

class CPSheetAnaOptions : public CZuPropertySheet
{
    Q_OBJECT
public:
    CPSheetAnaOptions(uint32_t captionId, QWidget* parent = nullptr, int firstPage = 0);
};
