#include "spectral/SpectrumDisplayOptions.h"

#include <atomic>

namespace {
std::atomic<ISpectrumDisplayOptions*> g_options{nullptr};
}

void SetSpectrumDisplayOptions(ISpectrumDisplayOptions* options) { g_options = options; }

ISpectrumDisplayOptions* GetSpectrumDisplayOptions() { return g_options; }

int SpectrumShowInDB()
{
    ISpectrumDisplayOptions* o = g_options;
    return o ? o->ShowDataInDB() : 0;
}

int SpectrumAWeighting()
{
    ISpectrumDisplayOptions* o = g_options;
    return o ? o->IsAWeighting() : 0;
}

int SpectrumIsStructure(const std::string& subsystem)
{
    ISpectrumDisplayOptions* o = g_options;
    return o ? o->IsStructure(subsystem) : 0;
}
