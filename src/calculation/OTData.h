#pragma once
// One row of an order power-contribution report: per RPM row of its source one value, for a
// subsystem or a sum, of one build type (1 and 2 area rows in dB and in percent, 3 line rows in
// dB; the input reports use 1 and 2 for their own two kinds) and one order.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/archive/Object.h"

class CZuRpmSelFunc;

class COTData : public CObject
{
public:
    COTData() = default;

    void SetType(uint8_t type) { m_type = type; }
    uint8_t GetType() const { return m_type; }
    void SetOrderIndex(uint16_t index) { m_orderIndex = index; }
    uint16_t GetOrderIndex() const { return m_orderIndex; }
    void SetName(const std::string& name) { m_name = name; }
    const std::string& GetName() const { return m_name; }
    // The per-order function the row was built from (not owned): its RPM rows are the report's.
    void SetSource(CZuRpmSelFunc* source) { m_source = source; }
    CZuRpmSelFunc* GetSource() const { return m_source; }

    // Resizes to n values; new values are 0.0.
    void SetSize(int n);
    int GetSize() const { return static_cast<int>(m_values.size()); }
    // Value i; setting outside the size does nothing, reading outside gives 0.0.
    void SetValue(int i, double v);
    double GetValue(int i) const;
    // Resizes to n when n > 0, sets every value to v and returns the count.
    int Fill(double v, int n);

private:
    uint8_t m_type = 0;
    uint16_t m_orderIndex = 0;
    std::string m_name;
    CZuRpmSelFunc* m_source = nullptr;
    std::vector<double> m_values;
};
