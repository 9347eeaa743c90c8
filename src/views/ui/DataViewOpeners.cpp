#include "views/ui/DataViewOpeners.h"

#include "app/BaseProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/ui/HSEADataTableFrame.h"
#include "views/ui/RMVDataFrame.h"
#include "views/ui/SwAxisTableFrame.h"
#include "views/ui/TALDataFrame.h"

namespace {
// True when a window of kind Frame shows element (the frame records itself in its element).
template <class Frame>
bool ShowsElement(CMElement* element)
{
    auto* data = dynamic_cast<CZuTableData*>(element);
    return data && dynamic_cast<Frame*>(CZuTableDataFrame::FindFrame(data)) != nullptr;
}
} // namespace

const std::vector<CDataViewEntry>& DataViewEntries()
{
    static const std::vector<CDataViewEntry> entries = {
        {IDR_TALDATA,
         [](QMdiArea* area, CMElement* e) -> QWidget* {
             return CTALDataFrame::Open(area, dynamic_cast<CZuRpmFunc*>(e));
         },
         ShowsElement<CTALDataFrame>},
        {IDR_RMVDATA,
         [](QMdiArea* area, CMElement* e) -> QWidget* {
             return CRMVDataFrame::Open(area, dynamic_cast<CZuRpmMultiVecFunc*>(e));
         },
         ShowsElement<CRMVDataFrame>},
        {IDR_HSEADATATABLE,
         [](QMdiArea* area, CMElement* e) -> QWidget* {
             return CHSEADataTableFrame::Open(area, dynamic_cast<CZuTableData*>(e));
         },
         ShowsElement<CHSEADataTableFrame>},
        {IDR_SWAXISTABLE,
         [](QMdiArea* area, CMElement* e) -> QWidget* {
             return CSwAxisTableFrame::Open(area, dynamic_cast<CZuRpmSelFunc*>(e));
         },
         ShowsElement<CSwAxisTableFrame>},
    };
    return entries;
}

void InstallDataViewOpeners(QMdiArea* area)
{
    for (const CDataViewEntry& entry : DataViewEntries())
        if (CZuMultiDocTemplate* t = GetTALVOApp().FindTemplateByStringId(entry.templateId)) {
            t->SetOpener([area, open = entry.open](CMElement* element) { return open(area, element) != nullptr; });
            t->SetWindowFinder(entry.isOpen);
        }
}

void RemoveDataViewOpeners()
{
    for (const CDataViewEntry& entry : DataViewEntries())
        if (CZuMultiDocTemplate* t = GetTALVOApp().FindTemplateByStringId(entry.templateId)) {
            t->SetOpener({});
            t->SetWindowFinder({});
        }
}

CTALVOProject* FindProjectContainer(CMElement* element)
{
    for (CMElement* e = element; e; e = e->GetParent())
        if (auto* project = dynamic_cast<CBaseProject*>(e); project && project->GetOwner())
            return project->GetOwner();
    if (CTALVODoc* doc = GetTALVOApp().GetMainDocument())
        return &doc->GetTALVOProject();
    return nullptr;
}
