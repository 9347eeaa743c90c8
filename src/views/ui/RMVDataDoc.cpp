#include "views/ui/RMVDataDoc.h"

#include "app/TALVOProject.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/ui/OptionSheets.h"

CRMVDataDoc::CRMVDataDoc(CTALVOProject* project) : CQMXDataCore(project) {}

CRMVDataDoc::~CRMVDataDoc() = default;

CZuRpmMultiVecFunc* CRMVDataDoc::GetFunction() const
{
    return dynamic_cast<CZuRpmMultiVecFunc*>(GetData());
}

CMElement* CRMVDataDoc::GetDataElement() const
{
    return GetFunction();
}

std::string CRMVDataDoc::GetDataLabel() const
{
    CZuRpmMultiVecFunc* f = GetFunction();
    return f ? f->GetLabel() : std::string();
}

void CRMVDataDoc::ApplyDisplaySettings(int axisFlag)
{
    CZuRpmMultiVecFunc* f = GetFunction();
    if (!f)
        return;
    f->SetAxisFlag(axisFlag);
    f->SetSmoothingWidth(m_smoothingWidth);
    int first = -1, last = -1;
    GetAppliedBandRange(first, last);
    f->SetOverallBandRange(first, last);
}

void CRMVDataDoc::CopyAllToArchive(CArchive& ar)
{
    CZuRpmMultiVecFunc* f = GetFunction();
    if (!f)
        return;
    ApplyDisplaySettings(GetItem(ITEM_AXIS));
    f->CopyToClipboard(ar, 1, GetCurrentSubset(), nullptr);
}

void CRMVDataDoc::OnOptions()
{
    if (CTALVOProject* project = GetProjectContainer())
        RunOptionsSheet(*project);
    UpdateAllViews(nullptr, -1);
    if (CZuRpmMultiVecFunc* f = GetFunction())
        if (IMessageTarget* frame = f->GetThisFrameWnd())
            frame->SendMessage(WM_ZU_OPTIONS_CHANGED, 0, 0);
}
