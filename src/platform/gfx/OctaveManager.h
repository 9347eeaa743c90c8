#pragma once
// Sets of frequency bands. The fractional-octave kinds follow the base-10 definitions of
// IEC 61260-1: G = 10^(3/10), reference frequency 1000 Hz; for a bandwidth designator b
// (1 octave, 3 one-third octave, 12 one-twelfth octave) the exact centres are
// 1000·G^(x/b) for odd b and 1000·G^((2x+1)/(2b)) for even b, the edges centre·G^(∓1/(2b)).
// Labels of octave and one-third-octave bands are the nominal frequencies ("31.5", "1250").
#include "platform/archive/Object.h"
#include "platform/gfx/FreqInfo.h"

#include <cstdint>
#include <string>
#include <vector>

// Band kinds (also the band set's domain type).
enum : int
{
    OCTAVE_BAND_THIRD = 0,   // one-third octave
    OCTAVE_BAND_FULL = 1,    // octave
    OCTAVE_BAND_TWELFTH = 2, // one-twelfth octave
    OCTAVE_BAND_USER = 3,    // user-defined: starts empty, bands come from AddFreqInfo
};

class COctaveManager : public CObject
{
    DECLARE_SERIAL(COctaveManager)
public:
    // Default range of a set built from its kind alone.
    static constexpr double kDefaultStartFreq = 10.0;
    static constexpr double kDefaultEndFreq = 20000.0;

    COctaveManager();                  // one-third octave, default range
    explicit COctaveManager(int kind); // kind over the default range (kind 3: empty)
    COctaveManager(int kind, double startFreq, double endFreq);
    COctaveManager(const COctaveManager& other);
    COctaveManager& operator=(const COctaveManager& other);
    ~COctaveManager() override;

    // Same kind, range and bands.
    bool operator==(const COctaveManager& other) const;
    bool operator!=(const COctaveManager& other) const { return !(*this == other); }

    // Band kind (OCTAVE_BAND_*); the same value under both names.
    int GetDomainType() const { return m_kind; }
    int GetBandType() const { return m_kind; }
    double GetStartFreq() const { return m_startFreq; }
    double GetEndFreq() const { return m_endFreq; }

    int GetFreqCount() const { return m_bands.GetSize(); }
    // Centre, lower and upper edge of band i; 0.0 for an index outside the set.
    double GetFreq(int i) const;
    double GetLowerFreq(int i) const;
    double GetUpperFreq(int i) const;
    // The band's label for tables and text exports; empty for an index outside the set.
    std::string GetFreqAsString(int i) const;
    // Band i; throws std::out_of_range for an index outside the set.
    const CFreqInfo& GetFreqInfo(int i) const { return m_bands.GetAt(i); }
    const CFreqInfoList& GetFreqInfoList() const { return m_bands; }
    std::vector<double> GetFreqArray() const;

    // Index of the band that holds f (lower <= f < upper); -1 when the set is empty or no band does.
    int FindBand(double f) const;

    // Appends a band (any kind may be extended; user-defined sets are built this way).
    int AddFreqInfo(double centre, double lower, double upper, uint8_t domainType);
    int AddFreqInfo(const CFreqInfo& info);
    void RemoveAll();

    // Rebuilds the set from a kind and range (kind 3 gives an empty set). A range that
    // CheckBuildRange refuses gives the default range instead, before any band is computed.
    void Build(int kind, double startFreq, double endFreq);

    // No set of ours needs more bands; a range that would give more is refused.
    static constexpr int kMaxBands = 4096;
    // Checks shared by every reader of band sets, binary or text: why the value cannot be used,
    // empty when it can. A known kind (OCTAVE_BAND_*); a stored range of finite numbers.
    static std::string CheckKind(int kind);
    static std::string CheckRange(double startFreq, double endFreq);
    // Stricter, for a range that bands are built from: finite, positive, normal numbers (either
    // order) that give at most kMaxBands bands of the kind.
    static std::string CheckBuildRange(int kind, double startFreq, double endFreq);

    // Own version word, kind, range and bands; reading checks every count and value.
    void Serialize(CArchive& ar) override;

    // Exact base-10 centre and edges of fractional-octave band x (b = 1, 3 or 12).
    static double ExactCenter(int b, int x);
    static double ExactLower(int b, int x);
    static double ExactUpper(int b, int x);
    // Nominal label of a frequency when it is the exact centre of an octave or one-third-octave
    // band (within 1e-6 relative); empty otherwise.
    static std::string NominalLabel(double f);

private:
    int m_kind = OCTAVE_BAND_THIRD;
    double m_startFreq = kDefaultStartFreq;
    double m_endFreq = kDefaultEndFreq;
    CFreqInfoList m_bands;
};

// The band set that callers copy and own; elements that own one delete it with themselves.
class COctaveManagerEx : public COctaveManager
{
    DECLARE_SERIAL(COctaveManagerEx)
public:
    COctaveManagerEx();
    explicit COctaveManagerEx(int kind);
    COctaveManagerEx(int kind, double startFreq, double endFreq);
    COctaveManagerEx(const COctaveManager& other);
    COctaveManagerEx(const COctaveManagerEx& other);
    COctaveManagerEx& operator=(const COctaveManager& other);
    COctaveManagerEx& operator=(const COctaveManagerEx& other);
    ~COctaveManagerEx() override;
};
