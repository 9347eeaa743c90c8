#pragma once
// The argument block of one call by name into another application's object. Positions count from
// 0 in call order; position i is kept in array entry (count - 1 - i), the order the call takes them.
#include "platform/automation/AutoValue.h"

#include <cstdint>
#include <string>
#include <vector>

class CDispParams
{
public:
    CDispParams() = default;
    explicit CDispParams(int count) { SetSize(count); }
    virtual ~CDispParams() = default;

    // 0 drops every argument; a larger count keeps the entries at the beginning of the array and
    // adds empty ones; a smaller count only lowers the count (so set the count before the arguments).
    void SetSize(int count);
    int GetCount() const { return m_count; }

    // Stores the value pointed to as the given variant type at a position (see the source for the
    // widths); a type without a value width stores only the type. Outside the count: nothing.
    void SetArg(int position, int type, const void* value);
    void SetLong(int position, int32_t value);
    void SetDouble(int position, double value);
    void SetDispatch(int position, const std::string& objectPath);
    void SetBool(int position, int value); // any non-zero value becomes -1
    void SetString(int position, const char* text);
    void SetValue(int position, const CAutoValue& value);

    // The argument at a position (call order) and at an array entry.
    const CAutoValue& Arg(int position) const;
    const CAutoValue& ArrayEntry(int index) const;
    // The arguments in call order.
    std::vector<CAutoValue> CallOrder() const;

    // A property put carries one named argument, DISPID_PROPERTYPUT; every other call none.
    void PrepareNamedArgs(int flags);
    const std::vector<int32_t>& NamedArgs() const { return m_named; }

private:
    int Entry(int position) const { return m_count - 1 - position; }

    std::vector<CAutoValue> m_args; // the array, its size the allocation
    std::vector<int32_t> m_named;
    int m_count = 0;
};
