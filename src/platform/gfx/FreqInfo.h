#pragma once
// One frequency band or spectral line (centre, lower and upper edge, domain type) and a list of them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CArchive;

class CFreqInfo
{
public:
    CFreqInfo() = default;
    CFreqInfo(double centre, double lower, double upper, uint8_t domainType)
        : m_center(centre), m_lower(lower), m_upper(upper), m_domainType(domainType)
    {}

    double GetCenterFreq() const { return m_center; }
    double GetLowerFreq() const { return m_lower; }
    double GetUpperFreq() const { return m_upper; }
    uint8_t GetDomainType() const { return m_domainType; }
    void SetCenterFreq(double f) { m_center = f; }
    void SetLowerFreq(double f) { m_lower = f; }
    void SetUpperFreq(double f) { m_upper = f; }
    void SetDomainType(uint8_t type) { m_domainType = type; }

    // A frequency on a shared edge belongs to the upper band: lower <= f < upper.
    bool Contains(double f) const { return m_lower <= f && f < m_upper; }

    // centre, lower, upper (doubles) and the domain type (1 byte)
    void Serialize(CArchive& ar);

    // Why a band of these values cannot be used (finite edges that enclose nothing backwards);
    // empty when it can. Every reader of bands, binary or text, asks this.
    static std::string CheckEdges(double centre, double lower, double upper);

    bool operator==(const CFreqInfo&) const = default;

private:
    double m_center = 0.0;
    double m_lower = 0.0;
    double m_upper = 0.0;
    uint8_t m_domainType = 0;
};

class CFreqInfoList
{
public:
    CFreqInfoList() = default;
    CFreqInfoList(const CFreqInfoList&) = default;
    CFreqInfoList& operator=(const CFreqInfoList&) = default;
    virtual ~CFreqInfoList() = default;

    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    // Index checked; throws std::out_of_range past the end.
    const CFreqInfo& GetAt(int i) const { return m_items.at(static_cast<size_t>(i)); }
    CFreqInfo& ElementAt(int i) { return m_items.at(static_cast<size_t>(i)); }
    const CFreqInfo& operator[](int i) const { return GetAt(i); }
    int Add(const CFreqInfo& info);
    // Empties the list and gives its storage back (size and capacity 0).
    void RemoveAll();

    // Closes a run of additions: gives back spare storage and returns the entry count.
    virtual int Settle();

    // Index of the first entry that holds f (lower <= f < upper); -1 when none does.
    int FindIndex(double f) const;

    const std::vector<CFreqInfo>& Items() const { return m_items; }

    bool operator==(const CFreqInfoList& other) const { return m_items == other.m_items; }

private:
    std::vector<CFreqInfo> m_items;
};
