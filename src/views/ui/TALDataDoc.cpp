#include "views/ui/TALDataDoc.h"

#include "models/HSEAOptions.h"

CTALDataDoc::CTALDataDoc(CTALVOProject* project) : CRpmDataDoc(project) {}

CTALDataDoc::~CTALDataDoc()
{
    if (CZuRpmFunc* f = GetFunction())
        f->SetThisFrameWnd(nullptr);
}

void CTALDataDoc::TogglePlotAll()
{
    if (CHSEAOptions* options = GetHSEAOptions())
        options->HSS_PlotAllData = options->HSS_PlotAllData ? 0 : 1;
    UpdateAllViews(nullptr, -1);
}
