#include "platform/base/RuntimeLibrary.h"

#include <dlfcn.h>

#include <utility>

CRuntimeLibrary::CRuntimeLibrary(std::string fileName) : m_fileName(std::move(fileName)) {}

bool CRuntimeLibrary::Load()
{
    std::call_once(m_once, [this] {
        // Its symbols stay its own: nothing loaded later binds to them by accident.
        m_handle = ::dlopen(m_fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) {
            const char* why = ::dlerror();
            m_error = "the library " + m_fileName + " could not be loaded" + (why ? std::string(" (") + why + ")" : "");
        }
    });
    return m_handle != nullptr;
}

void* CRuntimeLibrary::Symbol(const char* name)
{
    if (!Load())
        return nullptr;
    void* address = ::dlsym(m_handle, name);
    if (!address)
        m_error = "the library " + m_fileName + " has no function " + name;
    return address;
}
