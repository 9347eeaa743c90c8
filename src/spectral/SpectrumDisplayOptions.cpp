#include "spectral/SpectrumDisplayOptions.h"

#include "platform/elements/MElement.h"

const ISpectrumDisplayOptions* ISpectrumDisplayOptions::FindOwner(const CMElement* element)
{
    for (const CMElement* e = element; e; e = e->GetParent())
        if (const auto* owner = dynamic_cast<const ISpectrumDisplayOptions*>(e))
            return owner;
    return nullptr;
}

int SpectrumShowInDB(const CMElement* element)
{
    const ISpectrumDisplayOptions* o = ISpectrumDisplayOptions::FindOwner(element);
    return o ? o->ShowDataInDB() : 0;
}

int SpectrumAWeighting(const CMElement* element)
{
    const ISpectrumDisplayOptions* o = ISpectrumDisplayOptions::FindOwner(element);
    return o ? o->IsAWeighting() : 0;
}

int SpectrumIsStructure(const CMElement* element, const std::string& subsystem)
{
    const ISpectrumDisplayOptions* o = ISpectrumDisplayOptions::FindOwner(element);
    return o ? o->IsStructure(subsystem) : 0;
}
