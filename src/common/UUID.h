#pragma once
// A GUID value: 16 bytes, seen as its four 32-bit words. Its text is the standard form
// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" (lower case, no braces).
#include <array>
#include <cstdint>
#include <string>

class CUUID
{
public:
    CUUID(); // the nil GUID
    explicit CUUID(const std::string& text) { FromString(text); }
    CUUID(const CUUID&) = default;
    CUUID& operator=(const CUUID&) = default;
    CUUID& operator=(const std::string& text)
    {
        FromString(text);
        return *this;
    }
    virtual ~CUUID() = default;

    // A new random GUID.
    void Create();
    void SetNil();
    bool IsNil() const;

    // Parses the standard form (either case); anything else gives the nil GUID and false.
    bool FromString(const std::string& text);
    std::string ToString() const;

    // The four 32-bit words, first to last as the GUID's bytes run.
    uint32_t Word(int index) const;
    const std::array<uint8_t, 16>& Bytes() const { return m_bytes; }

    bool operator==(const CUUID& other) const { return m_bytes == other.m_bytes; }
    bool operator!=(const CUUID& other) const { return !(*this == other); }

private:
    std::array<uint8_t, 16> m_bytes{};
};
