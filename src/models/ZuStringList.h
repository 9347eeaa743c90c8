#pragma once
// An ordered list of names kept with a model.
#include <string>
#include <vector>

#include "platform/archive/Object.h"

class CZuStringList : public CObject
{
    DECLARE_SERIAL(CZuStringList)
public:
    CZuStringList() = default;

    int GetCount() const { return static_cast<int>(m_items.size()); }
    const std::string& GetAt(int i) const { return m_items.at(static_cast<size_t>(i)); }
    void AddTail(const std::string& s) { m_items.push_back(s); }
    void RemoveAll() { m_items.clear(); }
    const std::vector<std::string>& Items() const { return m_items; }

    // Count, then the strings.
    void Serialize(CArchive& ar) override;

private:
    std::vector<std::string> m_items;
};
