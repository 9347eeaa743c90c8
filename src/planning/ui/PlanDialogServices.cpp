#include "planning/ui/PlanDialogServices.h"

#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/QmxBlixChMgr.h"
#include "acquisition/ui/EnsureQMXConnection.h"
#include "app/TALVOProject.h"
#include "platform/base/Format.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <cctype>
#include <cstdlib>

int GetBlixUnitCount(const CTALVOProject& project)
{
    const int channels = project.GetSystemChannelCount();
    return channels <= 0 ? 0 : (channels + 7) / 8;
}

int GetPlanBandCount(int channels)
{
    const int slots = channels <= 0 ? 0 : (channels + 7) / 8;
    return (slots + 3) / 4;
}

std::string UnitGroupText(int number)
{
    std::string format;
    if (!LoadString(IDS_UNIT_GROUP, format) || format.empty())
        format = "Unit group %d";
    return Format(format.c_str(), number);
}

int UnitNumberOf(const std::string& name)
{
    std::string format;
    if (!LoadString(IDS_UNIT_LABEL, format))
        format = "%05d";
    const std::string prefix = format.substr(0, format.find('%'));
    const bool registered = !prefix.empty() && name.compare(0, prefix.size(), prefix) == 0;
    size_t at = registered ? prefix.size() : 0;
    // Names registered in an earlier form carry a letter before the number ("B12").
    while (at < name.size() && std::isalpha(static_cast<unsigned char>(name[at])))
        ++at;
    return std::atoi(name.c_str() + at);
}

void MarkProjectModified(CTALVOProject& project)
{
    if (IProjectContainerSite* site = project.GetSite())
        site->OnContainerModified();
}

bool GetQMXChannelInventory(CTALVOProject* project, CQmxBlixChMgr& inventory, QWidget* parent)
{
    CMultiQMXInterface* units = CDAQ::GetMultiInterface();
    if (!units)
        return false;
    if (units->GetUnitCount() == 0 && !EnsureQMXConnection(project, 0, 0, parent))
        return false;
    if (!units->MergeUnitInfo())
        return false;
    inventory = units->GetChannelManager();
    return inventory.HasHardware() != 0;
}
