#include "spectral/BandSetOwner.h"

#include "platform/elements/MElement.h"

IBandSetOwner* IBandSetOwner::FindOwner(const CMElement* element)
{
    for (CMElement* e = const_cast<CMElement*>(element); e; e = e->GetParent())
        if (auto* owner = dynamic_cast<IBandSetOwner*>(e))
            return owner;
    return nullptr;
}
