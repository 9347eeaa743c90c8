#include "models/ModelProjectLink.h"

#include "platform/elements/MElement.h"

IModelProjectLink* IModelProjectLink::Find(const CMElement* start)
{
    for (const CMElement* e = start; e; e = e->GetParent()) {
        auto* element = const_cast<CMElement*>(e);
        if (auto* link = dynamic_cast<IModelProjectLink*>(element))
            return link;
        if (auto* holder = dynamic_cast<IModelProjectHolder*>(element))
            return holder->GetModelProjectLink();
    }
    return nullptr;
}
