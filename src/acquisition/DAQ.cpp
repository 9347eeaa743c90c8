#include "acquisition/DAQ.h"

#include "acquisition/MultiQMXInterface.h"
#include "platform/base/Feedback.h"

#include <new>

namespace {
CMultiQMXInterface* g_interface = nullptr;
CFeedback* g_feedback = SilentFeedback();
// Deletes the interface when the program ends.
CDAQ g_holder;
} // namespace

CBaseDAQInterface* CDAQ::GetInterface()
{
    return GetMultiInterface();
}

CMultiQMXInterface* CDAQ::GetMultiInterface()
{
    if (!g_interface) {
        g_interface = new (std::nothrow) CMultiQMXInterface;
        if (g_interface)
            g_interface->SetFeedback(g_feedback);
    }
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

void CDAQ::SetFeedback(CFeedback* feedback)
{
    g_feedback = feedback ? feedback : SilentFeedback();
    if (g_interface)
        g_interface->SetFeedback(g_feedback);
}

CDAQ::~CDAQ()
{
    Destroy();
}
