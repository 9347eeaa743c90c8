#pragma once
// The sheet names a workbook holds, compared without regard to ASCII case as sheet names are, and
// the rule by which a new sheet gets a valid name that none of them has. Naming thousands of
// sheets after one name costs one look-up per name: the set remembers, for each name it was asked
// for, the number it reached, since names are only added and a number once taken stays taken.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CSheetNameSet
{
public:
    CSheetNameSet() = default;
    explicit CSheetNameSet(const std::vector<std::string>& taken);

    bool Contains(const std::string& name) const;
    void Add(const std::string& name);
    // The valid form of name (CExcelWrapper::MakeUniqueSheetName) that the set lacks, added to it.
    std::string Take(const std::string& name, const std::string& mark = std::string());

private:
    std::unordered_set<std::string> m_lower;
    // Per valid form and mark: the number to try first.
    std::unordered_map<std::string, int> m_next;
};
