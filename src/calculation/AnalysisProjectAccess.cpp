#include "calculation/AnalysisProjectAccess.h"

#include "platform/elements/MElement.h"

IAnalysisProjectAccess* IAnalysisProjectAccess::FindOwner(CMElement* element)
{
    for (CMElement* e = element; e; e = e->GetParent())
        if (auto* owner = dynamic_cast<IAnalysisProjectAccess*>(e))
            return owner;
    return nullptr;
}
