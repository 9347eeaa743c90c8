#include "planning/ExpPlan.h"

#include "platform/base/Format.h"

std::string MakeUniquePlanName(const std::string& name, const std::function<bool(const std::string&)>& taken)
{
    if (!name.empty() && !taken(name))
        return name;
    const std::string stem = name.empty() ? std::string("Plan") : name;
    for (int n = 1;; ++n) {
        std::string unique = Format("%s %d", stem.c_str(), n);
        if (!taken(unique))
            return unique;
    }
}
