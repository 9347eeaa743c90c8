#include "planning/PlanNameSet.h"

#include <algorithm>

#include "platform/base/Format.h"

std::string CPlanNameSet::Take(const std::string& name)
{
    if (!name.empty() && !Contains(name)) {
        Add(name);
        return name;
    }
    const std::string stem = name.empty() ? std::string("Plan") : name;
    int& next = m_next[stem];
    for (int n = std::max(next, 1);; ++n) {
        std::string unique = Format("%s %d", stem.c_str(), n);
        if (!Contains(unique)) {
            next = n + 1;
            Add(unique);
            return unique;
        }
    }
}
