#pragma once
// One dominant path of one band: a list of steps, each a subsystem name (or a marker text) and the
// power that step carries. The look-ups are checked: a step past the end gives null.
#include <string>
#include <vector>

#include "platform/archive/Object.h"

class CHSEAPath : public CObject
{
    DECLARE_SERIAL(CHSEAPath)
public:
    CHSEAPath();
    ~CHSEAPath() override;

    const double* GetValue(int i) const;
    const std::string* GetName(int i) const;
    int GetCount() const { return static_cast<int>(m_names.size()); }
    // Appends a step; returns the new count.
    int AddStep(const std::string& name, double value);

    // Step count (32-bit), then per step the name and the value (double).
    void Serialize(CArchive& ar) override;

private:
    std::vector<std::string> m_names;
    std::vector<double> m_values;
};
