#include "app/AliasCommands.h"

#include <algorithm>
#include <utility>

namespace {
struct Alias
{
    int id;
    int target;
    bool experimentWindow;
};

// 1210 (the sensor view) has a name of its own in the main frame and stays there; the rest are
// decided here.
constexpr Alias kAliases[] = {
    {1208, 1100, false}, {1209, 1100, false}, {1210, 1172, false}, {1211, 1126, false},
    {1212, 1136, false}, {1213, 1110, false}, {1214, 1092, true},  {1215, 1098, true},
    {1216, 1087, true},  {1217, 1090, true},  {1218, 1033, false}, {1221, 1177, false},
};

const Alias* Find(int id)
{
    const auto it = std::find_if(std::begin(kAliases), std::end(kAliases), [id](const Alias& a) { return a.id == id; });
    return it == std::end(kAliases) ? nullptr : it;
}
} // namespace

const std::vector<int>& CAliasCommands::Commands()
{
    static const std::vector<int> ids = [] {
        std::vector<int> v;
        for (const Alias& a : kAliases)
            v.push_back(a.id);
        return v;
    }();
    return ids;
}

int CAliasCommands::Target(int id)
{
    const Alias* a = Find(id);
    return a ? a->target : 0;
}

bool CAliasCommands::GoesToExperimentWindow(int id)
{
    const Alias* a = Find(id);
    return a && a->experimentWindow;
}
