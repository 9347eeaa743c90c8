#pragma once
// The members an automation class exposes, in table order. A member's dispatch id is its position
// in its own class's table counting from 1 (low 16 bits) and, in the high 16 bits, how many classes
// its table lies above the object's class (0 for the object's own class, 1 for its base, ...).
// Names are matched without regard to case; a member of a base table is reachable on every
// derived object.
#include "platform/automation/AutoValue.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CAutoObject;

// Invoke flags of a call.
inline constexpr int DISPATCH_METHOD = 1;
inline constexpr int DISPATCH_PROPERTYGET = 2;
inline constexpr int DISPATCH_PROPERTYPUT = 4;
inline constexpr int DISPATCH_PROPERTYPUTREF = 8;
inline constexpr int32_t DISPID_UNKNOWN = -1;
inline constexpr int32_t DISPID_PROPERTYPUT = -3;

enum class DispKind
{
    Property,   // get only
    PropertyRW, // get and put
    Method,
};

// The arguments of one call in call order, converted to the member's parameter types. An optional
// (VARIANT) argument that was left out is Missing.
class CDispArgs
{
public:
    CDispArgs() = default;
    explicit CDispArgs(std::vector<CAutoValue> values) : m_values(std::move(values)) {}
    int Count() const { return static_cast<int>(m_values.size()); }
    bool IsMissing(int i) const { return i >= Count() || m_values[static_cast<size_t>(i)].IsMissing(); }
    const CAutoValue& Value(int i) const;
    // Typed reads; a value that does not convert raises the wrong-type error naming argument i + 1.
    int32_t Long(int i) const;
    int16_t Short(int i) const;
    double Real(int i) const;
    bool Bool(int i) const;
    std::string String(int i) const;

private:
    std::vector<CAutoValue> m_values;
};

// A parameter of a member: its type and the name clients see it by (introspection). A parameter
// given by its type alone is named by its position ("arg1", ...).
struct CDispParam
{
    CDispParam(AutoType type_, const char* name_ = "") : type(type_), name(name_) {}
    AutoType type;
    std::string name;
};

struct CDispMember
{
    using Getter = std::function<CAutoValue(CAutoObject&, const CDispArgs&)>;
    using Setter = std::function<void(CAutoObject&, const CDispArgs&, const CAutoValue&)>;

    CDispMember(std::string name_, DispKind kind_, AutoType result_, std::vector<CDispParam> params_, Getter get_,
                Setter set_ = {})
        : name(std::move(name_)), kind(kind_), result(result_), params(std::move(params_)), get(std::move(get_)),
          set(std::move(set_))
    {}

    std::string name;
    DispKind kind;
    AutoType result;
    std::vector<CDispParam> params; // Variant parameters may be left out (from the end)
    Getter get;                     // the method, or the property's get
    Setter set;                     // the property's put (PropertyRW only)

    // Number of arguments a call must pass: the parameters up to the last non-Variant one.
    int RequiredCount() const;
    // The name of parameter i as clients see it.
    std::string ParamName(size_t i) const;
    // A property without parameters: clients may also read (and, read/write, set) it as a property
    // of the object.
    bool IsPlainProperty() const { return kind != DispKind::Method && params.empty(); }
};

class CDispatchTable
{
public:
    CDispatchTable(const CDispatchTable* base, std::vector<CDispMember> members);

    const CDispatchTable* GetBase() const { return m_base; }
    const std::vector<CDispMember>& Members() const { return m_members; }

    // The member's dispatch id, -1 when no table of the chain has the name.
    int32_t GetIDOfName(const std::string& name) const;
    // The member of a dispatch id; null when there is none.
    const CDispMember* Member(int32_t dispid) const;
    // Every member reachable, the object's own first, then its bases'.
    std::vector<const CDispMember*> AllMembers() const;

private:
    const CDispatchTable* m_base;
    std::vector<CDispMember> m_members;
};

// Case-insensitive comparison of ASCII member names.
bool SameMemberName(const std::string& a, const std::string& b);
