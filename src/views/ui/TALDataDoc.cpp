#include "views/ui/TALDataDoc.h"

#include "app/TALVOProject.h"
#include "models/HSEAOptions.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "spectral/ZuRpmFunc.h"
#include "views/ui/OptionSheets.h"

CTALDataDoc::CTALDataDoc(CTALVOProject* project) : CQMXDataCore(project) {}

CTALDataDoc::~CTALDataDoc()
{
    if (CZuRpmFunc* f = GetFunction())
        f->SetThisFrameWnd(nullptr);
}

CZuRpmFunc* CTALDataDoc::GetFunction() const
{
    return dynamic_cast<CZuRpmFunc*>(GetData());
}

CMElement* CTALDataDoc::GetDataElement() const
{
    return GetFunction();
}

std::string CTALDataDoc::GetDataLabel() const
{
    CZuRpmFunc* f = GetFunction();
    return f ? f->GetLabel() : std::string();
}

void CTALDataDoc::ApplyDisplaySettings(int axisFlag)
{
    CZuRpmFunc* f = GetFunction();
    if (!f)
        return;
    f->SetAxisFlag(axisFlag);
    f->SetSmoothingWidth(m_smoothingWidth);
    int first = -1, last = -1;
    GetAppliedBandRange(first, last);
    f->SetOverallBandRange(first, last);
}

void CTALDataDoc::CopyAllToArchive(CArchive& ar)
{
    CZuRpmFunc* f = GetFunction();
    if (!f)
        return;
    ApplyDisplaySettings(GetItem(ITEM_AXIS));
    f->CopyToClipboard(ar, 1, GetCurrentSubset(), nullptr);
}

void CTALDataDoc::OnOptions()
{
    if (CTALVOProject* project = GetProjectContainer())
        RunOptionsSheet(*project);
    UpdateAllViews(nullptr, -1);
    if (CZuRpmFunc* f = GetFunction())
        if (IMessageTarget* frame = f->GetThisFrameWnd())
            frame->SendMessage(WM_ZU_OPTIONS_CHANGED, 0, 0);
}

void CTALDataDoc::TogglePlotAll()
{
    if (CHSEAOptions* options = GetHSEAOptions())
        options->HSS_PlotAllData = options->HSS_PlotAllData ? 0 : 1;
    UpdateAllViews(nullptr, -1);
}
