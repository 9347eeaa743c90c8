#include "spectral/ProjectTreeNotify.h"

#include "platform/elements/MElement.h"

IProjectTreeNotify* IProjectTreeNotify::FindOwner(CMElement* element)
{
    for (CMElement* e = element; e; e = e->GetParent())
        if (auto* owner = dynamic_cast<IProjectTreeNotify*>(e))
            return owner;
    return nullptr;
}
