#include "platform/qmx/QmxDriver.h"

#include "platform/qmx/QmxSimSystem.h"

#include <mutex>

namespace {
std::mutex g_mutex;
CQmxDriver::Factory g_factory;
} // namespace

std::shared_ptr<IQmxSystem> CQmxDriver::Create()
{
    Factory factory;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        factory = g_factory;
    }
    if (factory)
        return factory();
    // No hardware driver is installed on this platform: the simulated systems of the settings
    // stand in for it.
    return CQmxSimSystem::Create();
}

void CQmxDriver::SetFactory(Factory factory)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_factory = std::move(factory);
}
