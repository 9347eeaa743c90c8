#include "acquisition/DAQ.h"

#include "acquisition/MultiQMXInterface.h"

#include <new>

namespace {
CMultiQMXInterface* g_interface = nullptr;
// Deletes the interface when the program ends.
CDAQ g_holder;
} // namespace

CBaseDAQInterface* CDAQ::GetInterface()
{
    return GetMultiInterface();
}

CMultiQMXInterface* CDAQ::GetMultiInterface()
{
    if (!g_interface)
        g_interface = new (std::nothrow) CMultiQMXInterface;
    return g_interface;
}

bool CDAQ::Exists()
{
    return g_interface != nullptr;
}

void CDAQ::Destroy()
{
    if (!Exists())
        return;
    delete g_interface;
    g_interface = nullptr;
}

CDAQ::~CDAQ()
{
    Destroy();
}
