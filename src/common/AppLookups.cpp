#include "common/AppLookups.h"

#include "platform/base/Format.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/ModelSubsystem.h"

namespace
{
CAppLookups& Lookups()
{
    static CAppLookups lookups;
    return lookups;
}
} // namespace

void SetAppLookups(CAppLookups lookups)
{
    Lookups() = std::move(lookups);
}

int GetSystemChannelCount()
{
    const auto& get = Lookups().getSystemChannelCount;
    return get ? get() : 0;
}

void SetSystemChannelCount(int count)
{
    if (const auto& set = Lookups().setSystemChannelCount)
        set(count);
}

double GetSubsystemParamByName(const std::string& name)
{
    const auto& find = Lookups().findModelSubsystem;
    if (!find)
        return 0.0;
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    const CModelSubsystem* subsystem = find(plain);
    return subsystem ? subsystem->GetMassOrVolume() : 0.0;
}

std::string FormatSubsystemLPName(const std::string& subsystem, int localPoint)
{
    const auto& display = Lookups().subsystemDisplayName;
    const std::string name = display ? display(subsystem) : subsystem;
    return Format("%s:%02d", name.c_str(), localPoint + 1);
}

float GetSensorSensitivityByID(const std::string& id)
{
    const auto& get = Lookups().sensorSensitivity;
    return get ? get(id) : 0.0f;
}

int AddToSensorAssignment(const std::string& rowName, const std::string& item)
{
    const auto& add = Lookups().addToSensorAssignment;
    return add ? add(rowName, item) : -1;
}

std::string ExtractBetween(const std::string& text, const std::string& key, const std::string& separator)
{
    const size_t at = text.find(key);
    if (at == std::string::npos)
        return {};
    const size_t after = at + key.size();
    if (text.compare(after, separator.size(), separator) != 0)
        return {};
    const size_t begin = after + separator.size();
    const size_t end = text.find('\n', begin);
    return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}
