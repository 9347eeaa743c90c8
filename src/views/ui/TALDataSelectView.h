#pragma once
// The select pane of a TAL data window: the RPMs (frequency across) or the bands (RPM across) of
// the map, titled "RPM" or "Freq. [Hz]".
#include "platform/ui/ZuTableSelectView.h"

class CTALDataDoc;

class CTALDataSelectView : public CZuTableSelectView
{
    Q_OBJECT
public:
    explicit CTALDataSelectView(CTALDataDoc* doc, QWidget* parent = nullptr);
    void OnUpdate(IZuTableDataView* sender, int hint) override;

private:
    CTALDataDoc* m_tal;
};
