#include "spectral/SpectrumDisplayOptions.h"

#include "common/Quantity.h"
#include "platform/base/Format.h"
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

std::string SpectrumTitleLine(const CMElement* element, const std::string& subsystem)
{
    const int structure = SpectrumIsStructure(element, subsystem);
    return Format("%s\t%s [%s]\r\n", subsystem.c_str(), GetQuantityName(element, structure).c_str(),
                  GetQuantityAxisLabel(element, SpectrumShowInDB(element), structure, 0).c_str());
}
