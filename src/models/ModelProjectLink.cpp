#include "models/ModelProjectLink.h"

#include "platform/elements/MElement.h"

IModelProjectLink* IModelProjectLink::Find(const CMElement* start)
{
    for (const CMElement* e = start; e; e = e->GetParent())
        if (auto* link = dynamic_cast<IModelProjectLink*>(const_cast<CMElement*>(e)))
            return link;
    return nullptr;
}
