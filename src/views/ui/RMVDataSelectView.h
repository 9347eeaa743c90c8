#pragma once
// The select pane of an RMV data window: the subsets of the function (its RPMs with frequency
// across, its bands with RPM across), titled "RPM" or "Freq. [Hz]".
#include "platform/ui/ZuTableSelectView.h"

class CRMVDataDoc;

class CRMVDataSelectView : public CZuTableSelectView
{
    Q_OBJECT
public:
    explicit CRMVDataSelectView(CRMVDataDoc* doc, QWidget* parent = nullptr);
    void OnUpdate(IZuTableDataView* sender, int hint) override;

private:
    CRMVDataDoc* m_rmv;
};
