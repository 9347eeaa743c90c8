#pragma once
// What the documents of the data windows over engine speed share: one function of type TFunc
// (a spectrum map or a multi-vector function) with the display settings of the data core put
// into it before the views read it or it is copied out.
#include "app/TALVOProject.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/ui/ZuTableDataDoc.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "views/ui/OptionSheets.h"
#include "views/ui/QMXDataCore.h"

#include <string>

template <class TFunc>
class CRpmDataDoc : public CZuTableDataDoc, public CQMXDataCore
{
public:
    explicit CRpmDataDoc(CTALVOProject* project) : CQMXDataCore(project) {}

    // Shows a function of the project (may be null) with the project's options. A first window
    // takes the function's own orientation; later ones the stored choice.
    void ShowFunction(TFunc* function, CTALVOProject* project)
    {
        SetData(function);
        if (project)
            SetHSEAOptions(&project->GetHSEAOptions());
        if (!GetItemList() || !GetItemList()->GetData(CQMXDataCore::ITEM_AXIS))
            SetBoolItem356(function->GetAxisFlag());
        SetSmoothingLength(GetSmoothingLength());
    }

    // The function with the display settings put in, for a table of one subset; a subset past
    // the count (after a change of axis) falls back to the first. Null when there is no function.
    TFunc* PrepareTable(int& subset)
    {
        TFunc* f = GetFunction();
        if (!f)
            return nullptr;
        ApplyDisplaySettings(GetItem(CQMXDataCore::ITEM_AXIS));
        if (subset >= f->GetTableFreqCount() || subset < 0) {
            subset = 0;
            SetCurrentSubset(0);
        }
        return f;
    }

    TFunc* GetFunction() const { return dynamic_cast<TFunc*>(GetData()); }

    CMElement* GetDataElement() const override { return GetFunction(); }

    std::string GetDataLabel() const override
    {
        TFunc* f = GetFunction();
        return f ? f->GetLabel() : std::string();
    }

    void ApplyDisplaySettings(int axisFlag) override
    {
        TFunc* f = GetFunction();
        if (!f)
            return;
        f->SetAxisFlag(axisFlag);
        f->SetSmoothingWidth(m_smoothingWidth);
        int first = -1, last = -1;
        GetAppliedBandRange(first, last);
        f->SetOverallBandRange(first, last);
    }

    void CopyAllToArchive(CArchive& ar) override
    {
        TFunc* f = GetFunction();
        if (!f)
            return;
        ApplyDisplaySettings(GetItem(ITEM_AXIS));
        f->CopyToClipboard(ar, 1, GetCurrentSubset(), nullptr);
    }

    // The options sheet, then every view and the frame's bar re-read the options.
    void OnOptions()
    {
        if (CTALVOProject* project = GetProjectContainer())
            RunOptionsSheet(*project);
        UpdateAllViews(nullptr, -1);
        if (TFunc* f = GetFunction())
            if (IMessageTarget* frame = f->GetThisFrameWnd())
                frame->SendMessage(WM_ZU_OPTIONS_CHANGED, 0, 0);
    }
};
