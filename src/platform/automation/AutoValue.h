#pragma once
// One value that crosses the automation boundary: an argument or a result of a member. The type
// numbers are the automation variant types, so argument blocks and typed results speak one
// language on both sides. Objects travel as their object path on the bus ("/" is nothing).
#include <cstdint>
#include <string>
#include <vector>

enum class AutoType : int
{
    Empty = 0,
    Short = 2,
    Long = 3,
    Real = 5,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Bool = 11,
    Variant = 12,
    RealArray = 0x2005, // an array of reals
};

// The error code an absent optional argument carries.
inline constexpr int32_t DISP_E_PARAMNOTFOUND = static_cast<int32_t>(0x80020004u);
// The object path that means "nothing".
inline constexpr const char* kNoObjectPath = "/";

class CAutoValue
{
public:
    CAutoValue() = default;
    static CAutoValue Short(int16_t v);
    static CAutoValue Long(int32_t v);
    static CAutoValue Real(double v);
    static CAutoValue Date(double v);
    static CAutoValue Bool(bool v);
    static CAutoValue String(std::string v);
    // An object by its path; an empty path is nothing.
    static CAutoValue Object(std::string path);
    static CAutoValue RealArray(std::vector<double> v);
    static CAutoValue Error(int32_t code);
    // An optional argument that was left out.
    static CAutoValue Missing() { return Error(DISP_E_PARAMNOTFOUND); }

    AutoType GetType() const { return m_type; }
    bool IsEmpty() const { return m_type == AutoType::Empty; }
    bool IsMissing() const { return m_type == AutoType::Error && m_long == DISP_E_PARAMNOTFOUND; }
    bool IsNothing() const { return m_type == AutoType::Object && (m_text.empty() || m_text == kNoObjectPath); }

    // The stored value as it is (no conversion).
    int32_t RawLong() const { return m_long; }
    double RawReal() const { return m_real; }
    const std::string& RawText() const { return m_text; }
    const std::vector<double>& RawArray() const { return m_array; }

    // Conversions by the automation rules: numbers and BOOL (-1 true) convert among themselves,
    // reals to integers round half to even, text parses as a number (blanks around are allowed)
    // and numbers give their text. False when the value does not convert.
    bool ToLong(int32_t& out) const;
    bool ToShort(int16_t& out) const;
    bool ToReal(double& out) const;
    bool ToBool(bool& out) const;
    bool ToString(std::string& out) const;
    // The value converted to type (Variant keeps it as it is); false when it does not convert.
    bool ChangeType(AutoType type, CAutoValue& out) const;

    bool operator==(const CAutoValue& other) const;

private:
    AutoType m_type = AutoType::Empty;
    int32_t m_long = 0;
    double m_real = 0.0;
    std::string m_text;
    std::vector<double> m_array;
};

// The type's name in the bus's type signature ("i", "d", "ad", ...); empty for Empty.
std::string AutoTypeSignature(AutoType type);

// Automation dates (days since 30 December 1899, local time) and the C library's seconds.
double TimeToAutoDate(int64_t seconds);
int64_t AutoDateToTime(double date);
