#pragma once
// The names of a list of plans, and the rule by which a plan added to it gets a name no other
// plan has (MakeUniquePlanName). Adding thousands of plans of one name costs one look-up each:
// the set remembers the number each name reached, since names are only added here and a number
// once taken stays taken.
#include <string>
#include <unordered_map>
#include <unordered_set>

class CPlanNameSet
{
public:
    bool Contains(const std::string& name) const { return m_names.count(name) != 0; }
    void Add(const std::string& name) { m_names.insert(name); }
    // MakeUniquePlanName of name against the set, added to it.
    std::string Take(const std::string& name);

private:
    std::unordered_set<std::string> m_names;
    std::unordered_map<std::string, int> m_next; // per stem: the number to try first
};
