#include "platform/gfx/OctaveManager.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(COctaveManager, CObject, 1)
IMPLEMENT_SERIAL(COctaveManagerEx, COctaveManager, 1)

namespace {
// Version word of our own serialised form.
constexpr int32_t kStoreVersion = 1;

// Bandwidth designator b of a fractional-octave kind; 0 for a user-defined or unknown kind.
int Designator(int kind)
{
    switch (kind) {
    case OCTAVE_BAND_THIRD:
        return 3;
    case OCTAVE_BAND_FULL:
        return 1;
    case OCTAVE_BAND_TWELFTH:
        return 12;
    default:
        return 0;
    }
}

// Exponent of G = 10^(3/10) of the centre of band x, in units of 1/(2b): G^(e/(2b)).
// Odd b: e = 2x; even b: e = 2x + 1.
double CentreExponent(int b, int x)
{
    return (b % 2 != 0) ? 2.0 * x : 2.0 * x + 1.0;
}

// 1000·G^(e/(2b)) = 1000·10^(0.3·e/(2b))
double PowG(int b, double e)
{
    return 1000.0 * std::pow(10.0, 0.3 * e / (2.0 * b));
}

// Label of a band that is not at a nominal frequency: four significant digits for the
// one-twelfth-octave bands, every digit the centre has otherwise (user-defined lines).
std::string PlainLabel(const CFreqInfo& info)
{
    const double f = info.GetCenterFreq();
    if (info.GetDomainType() == OCTAVE_BAND_TWELFTH)
        return std::fabs(f) >= 1000.0 ? Format("%.0f", f) : Format("%.4g", f);
    return Format("%g", f);
}
} // namespace

double COctaveManager::ExactCenter(int b, int x)
{
    if (b <= 0)
        return 0.0;
    return PowG(b, CentreExponent(b, x));
}

double COctaveManager::ExactLower(int b, int x)
{
    if (b <= 0)
        return 0.0;
    return PowG(b, CentreExponent(b, x) - 1.0);
}

double COctaveManager::ExactUpper(int b, int x)
{
    if (b <= 0)
        return 0.0;
    return PowG(b, CentreExponent(b, x) + 1.0);
}

std::string COctaveManager::NominalLabel(double f)
{
    if (!std::isfinite(f) || f <= 0.0)
        return {};
    // One-third-octave centres are 1000·10^(x/10); octave centres are every third of them.
    const double xr = std::round(10.0 * std::log10(f / 1000.0));
    if (std::fabs(xr) > 1000.0)
        return {};
    const int x = static_cast<int>(xr);
    const double exact = ExactCenter(3, x);
    if (std::fabs(f - exact) > 1e-6 * exact)
        return {};
    // The nominal values repeat every decade.
    static const double kMantissa[10] = {1.0, 1.25, 1.6, 2.0, 2.5, 3.15, 4.0, 5.0, 6.3, 8.0};
    const int decade = (x >= 0 ? x / 10 : -((-x + 9) / 10));
    const int index = x - 10 * decade;
    // Built from the decimal text so that 31.5 prints as "31.5", not 31.499999...
    const std::string text = Format("%ge%d", kMantissa[index], decade + 3);
    return Format("%g", std::strtod(text.c_str(), nullptr));
}

COctaveManager::COctaveManager()
{
    Build(OCTAVE_BAND_THIRD, kDefaultStartFreq, kDefaultEndFreq);
}

COctaveManager::COctaveManager(int kind)
{
    Build(kind, kDefaultStartFreq, kDefaultEndFreq);
}

COctaveManager::COctaveManager(int kind, double startFreq, double endFreq)
{
    Build(kind, startFreq, endFreq);
}

COctaveManager::COctaveManager(const COctaveManager& other)
    : CObject(other), m_kind(other.m_kind), m_startFreq(other.m_startFreq), m_endFreq(other.m_endFreq),
      m_bands(other.m_bands)
{}

COctaveManager& COctaveManager::operator=(const COctaveManager& other)
{
    if (this != &other) {
        m_kind = other.m_kind;
        m_startFreq = other.m_startFreq;
        m_endFreq = other.m_endFreq;
        m_bands = other.m_bands;
    }
    return *this;
}

COctaveManager::~COctaveManager() = default;

bool COctaveManager::operator==(const COctaveManager& other) const
{
    // The range is only how a set was asked for; the bands are what it is.
    return m_kind == other.m_kind && m_bands == other.m_bands;
}

std::string COctaveManager::CheckKind(int kind)
{
    if (kind < OCTAVE_BAND_THIRD || kind > OCTAVE_BAND_USER)
        return Format("band set of unknown kind %d", kind);
    return {};
}

std::string COctaveManager::CheckRange(double startFreq, double endFreq)
{
    if (!std::isfinite(startFreq) || !std::isfinite(endFreq))
        return "band set with an invalid range";
    return {};
}

std::string COctaveManager::CheckBuildRange(int kind, double startFreq, double endFreq)
{
    // Subnormal values are refused too: their logarithm is out of reach of the band numbering.
    auto usable = [](double f) { return std::isnormal(f) && f > 0.0; };
    if (!usable(startFreq) || !usable(endFreq))
        return Format("band range %g to %g Hz: both ends must be positive numbers", startFreq, endFreq);
    const int b = Designator(kind);
    if (b == 0)
        return {};
    // b bands per octave, and two bands of margin for the partial bands at either end.
    const double octaves = std::fabs(std::log2(endFreq / startFreq));
    if (!(octaves * b + 2.0 <= kMaxBands))
        return Format("band range %g to %g Hz gives more than %d bands", startFreq, endFreq, kMaxBands);
    return {};
}

namespace {
// The bands of kind b from the one that holds the start frequency to the one that holds the end
// frequency: upper edge above the start, lower edge not above the end.
CFreqInfoList MakeBands(int kind, int b, double startFreq, double endFreq)
{
    CFreqInfoList bands;
    const double eStart = 2.0 * b * std::log10(startFreq / 1000.0) / 0.3; // start = 1000·G^(e/(2b))
    int x = static_cast<int>(std::floor((eStart - 1.0) / 2.0)) - 2;
    while (COctaveManager::ExactUpper(b, x) <= startFreq)
        ++x;
    while (COctaveManager::ExactLower(b, x - 1) > 0.0 && COctaveManager::ExactUpper(b, x - 1) > startFreq)
        --x;
    // A band's upper edge is the next band's lower edge, the same power of G: each is computed once.
    double lower = COctaveManager::ExactLower(b, x);
    for (int n = 0; n < COctaveManager::kMaxBands && lower <= endFreq; ++n, ++x) {
        const double upper = COctaveManager::ExactUpper(b, x);
        bands.Add(CFreqInfo(COctaveManager::ExactCenter(b, x), lower, upper, static_cast<uint8_t>(kind)));
        lower = upper;
    }
    bands.Settle();
    return bands;
}

// The sets of the default range, each made once: every band set read from a file is made as one
// before its own bands are read.
const CFreqInfoList& DefaultBands(int kind, int b)
{
    constexpr double start = COctaveManager::kDefaultStartFreq, end = COctaveManager::kDefaultEndFreq;
    switch (kind) {
    case OCTAVE_BAND_FULL: {
        static const CFreqInfoList bands = MakeBands(kind, b, start, end);
        return bands;
    }
    case OCTAVE_BAND_TWELFTH: {
        static const CFreqInfoList bands = MakeBands(kind, b, start, end);
        return bands;
    }
    default: {
        static const CFreqInfoList bands = MakeBands(OCTAVE_BAND_THIRD, b, start, end);
        return bands;
    }
    }
}
} // namespace

void COctaveManager::Build(int kind, double startFreq, double endFreq)
{
    if (!CheckBuildRange(kind, startFreq, endFreq).empty()) {
        startFreq = kDefaultStartFreq;
        endFreq = kDefaultEndFreq;
    }
    if (startFreq > endFreq)
        std::swap(startFreq, endFreq);
    m_kind = kind;
    m_startFreq = startFreq;
    m_endFreq = endFreq;
    m_bands.RemoveAll();

    const int b = Designator(kind);
    if (b == 0) {
        m_bands.Settle();
        return;
    }
    if (startFreq == kDefaultStartFreq && endFreq == kDefaultEndFreq)
        m_bands = DefaultBands(kind, b);
    else
        m_bands = MakeBands(kind, b, startFreq, endFreq);
}

double COctaveManager::GetFreq(int i) const
{
    return (i >= 0 && i < GetFreqCount()) ? m_bands.GetAt(i).GetCenterFreq() : 0.0;
}

double COctaveManager::GetLowerFreq(int i) const
{
    return (i >= 0 && i < GetFreqCount()) ? m_bands.GetAt(i).GetLowerFreq() : 0.0;
}

double COctaveManager::GetUpperFreq(int i) const
{
    return (i >= 0 && i < GetFreqCount()) ? m_bands.GetAt(i).GetUpperFreq() : 0.0;
}

std::string COctaveManager::GetFreqAsString(int i) const
{
    if (i < 0 || i >= GetFreqCount())
        return {};
    const CFreqInfo& info = m_bands.GetAt(i);
    std::string label = NominalLabel(info.GetCenterFreq());
    return label.empty() ? PlainLabel(info) : label;
}

std::vector<double> COctaveManager::GetFreqArray() const
{
    std::vector<double> out;
    out.reserve(static_cast<size_t>(GetFreqCount()));
    for (const CFreqInfo& info : m_bands.Items())
        out.push_back(info.GetCenterFreq());
    return out;
}

int COctaveManager::FindBand(double f) const
{
    return m_bands.FindIndex(f);
}

int COctaveManager::AddFreqInfo(double centre, double lower, double upper, uint8_t domainType)
{
    return m_bands.Add(CFreqInfo(centre, lower, upper, domainType));
}

int COctaveManager::AddFreqInfo(const CFreqInfo& info)
{
    return m_bands.Add(info);
}

void COctaveManager::RemoveAll()
{
    m_bands.RemoveAll();
}

void COctaveManager::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kStoreVersion << static_cast<int32_t>(m_kind) << m_startFreq << m_endFreq;
        ar.WriteCount(static_cast<uint32_t>(m_bands.GetSize()));
        for (int i = 0; i < m_bands.GetSize(); ++i)
            m_bands.ElementAt(i).Serialize(ar);
        return;
    }
    int32_t version = 0, kind = 0;
    double start = 0.0, end = 0.0;
    ar >> version;
    if (version < 1 || version > kStoreVersion)
        CArchive::ThrowBadSchema(Format("band set version %d", version));
    ar >> kind >> start >> end;
    if (std::string why = CheckKind(kind); !why.empty())
        CArchive::Throw(CArchiveException::genericException, why);
    if (std::string why = CheckRange(start, end); !why.empty())
        CArchive::Throw(CArchiveException::genericException, why);
    const uint32_t count = ar.ReadCount(3 * sizeof(double) + 1);
    CFreqInfoList bands;
    for (uint32_t i = 0; i < count; ++i) {
        CFreqInfo info;
        info.Serialize(ar);
        bands.Add(info);
    }
    bands.Settle();
    // Nothing changes until the whole set has been read.
    m_kind = kind;
    m_startFreq = start;
    m_endFreq = end;
    m_bands = std::move(bands);
}

COctaveManagerEx::COctaveManagerEx() = default;
COctaveManagerEx::COctaveManagerEx(int kind) : COctaveManager(kind) {}
COctaveManagerEx::COctaveManagerEx(int kind, double startFreq, double endFreq)
    : COctaveManager(kind, startFreq, endFreq)
{}
COctaveManagerEx::COctaveManagerEx(const COctaveManager& other) : COctaveManager(other) {}
COctaveManagerEx::COctaveManagerEx(const COctaveManagerEx& other) : COctaveManager(other) {}
COctaveManagerEx& COctaveManagerEx::operator=(const COctaveManager& other)
{
    COctaveManager::operator=(other);
    return *this;
}
COctaveManagerEx& COctaveManagerEx::operator=(const COctaveManagerEx& other)
{
    COctaveManager::operator=(other);
    return *this;
}
COctaveManagerEx::~COctaveManagerEx() = default;
