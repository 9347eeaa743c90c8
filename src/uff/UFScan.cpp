#include "uff/UFScan.h"

#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "platform/archive/Archive.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ORVEX_UF_PARSE_AVX512 1
#endif

namespace uf {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// How far ahead of the reading the bytes are asked for. A file's pages lie anywhere in memory and
// the processor's own prefetch stops at each 4 KB page, so without this the reading waits on
// memory at every page it enters.
constexpr ptrdiff_t kPrefetchBytes = 4096;

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The short decimal forms: [sign] digits [. digits] [E|e [sign] digits]. False when the text has
// another form or its value cannot be formed exactly (the caller then asks from_chars).
bool ParseSimple(const char* p, const char* end, double& value, size_t& used)
{
    const char* start = p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    uint64_t mantissa = 0;
    int digits = 0;
    int scale = 0;
    while (p < end && IsDigit(*p)) {
        if (digits >= 19)
            return false;
        mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        ++digits;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && IsDigit(*p)) {
            if (digits >= 19)
                return false;
            mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
            ++digits;
            --scale;
        }
    }
    if (digits == 0)
        return false;
    if (p < end && (*p == 'E' || *p == 'e')) {
        const char* q = p + 1;
        bool expNegative = false;
        if (q < end && (*q == '-' || *q == '+'))
            expNegative = *q++ == '-';
        if (q < end && IsDigit(*q)) {
            int exponent = 0;
            while (q < end && IsDigit(*q)) {
                if (exponent > 10000)
                    return false;
                exponent = exponent * 10 + (*q++ - '0');
            }
            scale += expNegative ? -exponent : exponent;
            p = q;
        }
        // "1.5E" with nothing after the E: the number ends before the E, as strtod reads it.
    }
    if (mantissa > (uint64_t{1} << 53) || scale < -22 || scale > 22)
        return false;
    double v = static_cast<double>(mantissa);
    v = scale < 0 ? v / kPow10[-scale] : v * kPow10[scale];
    value = negative ? -v : v;
    used = static_cast<size_t>(p - start);
    return true;
}

} // namespace

bool StartsWithDelimiter(std::string_view line)
{
    return line.substr(0, 6) == "    -1";
}

bool IsDelimiter(std::string_view line)
{
    return StartsWithDelimiter(line) && TrimRight(line.substr(6)).empty();
}

int32_t Atoi(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t v = 0;
    while (i < text.size() && IsDigit(text[i])) {
        v = v * 10 + (text[i++] - '0');
        if (v > int64_t{INT32_MAX} + 1)
            v = int64_t{INT32_MAX} + 1;
    }
    v = negative ? -v : v;
    if (v > INT32_MAX)
        v = INT32_MAX;
    return static_cast<int32_t>(v);
}

namespace {
// Well-formed UTF-8 (shortest forms, no surrogates), as the string layer round-trips it.
bool IsUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t n = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            n = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            lo = c == 0xE0 ? 0xA0 : 0x80;
            hi = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            lo = c == 0xF0 ? 0x90 : 0x80;
            hi = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + n >= text.size())
            return false;
        for (size_t k = 1; k <= n; ++k) {
            const unsigned char b = static_cast<unsigned char>(text[i + k]);
            if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF))
                return false;
        }
        i += n + 1;
    }
    return true;
}
} // namespace

std::string ToUtf8(std::string_view text)
{
    if (IsUtf8(text))
        return std::string(text);
    return CArchive::DecodeLegacy(std::string(text), CArchive::DefaultCodePage());
}

std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view Trim(std::string_view text)
{
    text = TrimRight(text);
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

size_t ParseNumber(const char* text, const char* end, double& value)
{
    size_t used = 0;
    if (ParseSimple(text, end, value, used))
        return used;
    const char* p = text;
    // from_chars takes no plus sign; scanf does.
    if (p < end && *p == '+') {
        ++p;
        if (p < end && *p == '-')
            return 0;
    }
    double v = 0.0;
    const auto result = std::from_chars(p, end, v, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return 0;
    // Out of range: strtod gives infinity or zero; so do we, so the field still counts.
    if (result.ec == std::errc::result_out_of_range) {
        const bool tiny = [&] {
            for (const char* q = p; q < result.ptr; ++q)
                if (*q == 'e' || *q == 'E')
                    return q + 1 < result.ptr && q[1] == '-';
            return false;
        }();
        v = tiny ? 0.0 : HUGE_VAL;
        if (*p == '-')
            v = -v;
    }
    value = v;
    return static_cast<size_t>(result.ptr - text);
}

namespace {

inline unsigned Digit(char c)
{
    return static_cast<unsigned>(c - '0');
}

inline uint64_t Load8(const char* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// Eight bytes as one little-endian word, the first in the lowest byte.
constexpr uint64_t Bytes(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4, uint8_t b5, uint8_t b6, uint8_t b7)
{
    return uint64_t{b0} | uint64_t{b1} << 8 | uint64_t{b2} << 16 | uint64_t{b3} << 24 | uint64_t{b4} << 32 |
           uint64_t{b5} << 40 | uint64_t{b6} << 48 | uint64_t{b7} << 56;
}

// The E13.5 field as the files write it, " -d.dddddE+dd" or "  d.dddddE-dd", read by position from
// its 13 bytes at p: most of a file's numbers take this way. False for anything else. The checks and
// the mantissa's digits are done on two 8-byte words at once, with no branch per character; the
// value is formed as ParseSimple forms it, so it is the same to the bit.
inline bool ParseE13_5(const char* p, double& value)
{
    if constexpr (std::endian::native != std::endian::little) {
        const unsigned d[8] = {Digit(p[2]), Digit(p[4]), Digit(p[5]),  Digit(p[6]),
                               Digit(p[7]), Digit(p[8]), Digit(p[11]), Digit(p[12])};
        if (p[0] != ' ' || (p[1] != ' ' && p[1] != '-') || p[3] != '.' || (p[9] != 'E' && p[9] != 'e') ||
            (p[10] != '+' && p[10] != '-') || d[0] > 9 || d[1] > 9 || d[2] > 9 || d[3] > 9 || d[4] > 9 || d[5] > 9 ||
            d[6] > 9 || d[7] > 9)
            return false;
    }
    // a: ' ' sign d0 '.' d1 d2 d3 d4; b: d2 d3 d4 d5 'E' sign e0 e1.
    const uint64_t a = Load8(p), b = Load8(p + 5);
    constexpr uint64_t aHigh = Bytes(0, 0, 0xF0, 0, 0xF0, 0xF0, 0xF0, 0xF0),
                       bHigh = Bytes(0, 0, 0, 0xF0, 0, 0, 0xF0, 0xF0);
    constexpr uint64_t aZero = Bytes(0, 0, '0', 0, '0', '0', '0', '0'), bZero = Bytes(0, 0, 0, '0', 0, 0, '0', '0');
    constexpr uint64_t aSix = Bytes(0, 0, 6, 0, 6, 6, 6, 6), bSix = Bytes(0, 0, 0, 6, 0, 0, 6, 6);
    constexpr uint64_t aFixed = Bytes(0xFF, 0, 0, 0xFF, 0, 0, 0, 0), aText = Bytes(' ', 0, 0, '.', 0, 0, 0, 0);
    constexpr uint64_t bFixed = Bytes(0, 0, 0, 0, 0xDF, 0, 0, 0), bText = Bytes(0, 0, 0, 0, 'E', 0, 0, 0); // E or e
    const char sign = p[1], expSign = p[10];
    // A byte is a digit when its high half is 3 and adding 6 keeps it so.
    if (((a & aHigh) != aZero) | (((a + aSix) & aHigh) != aZero) | ((b & bHigh) != bZero) |
        (((b + bSix) & bHigh) != bZero) | ((a & aFixed) != aText) | ((b & bFixed) != bText) |
        ((sign != ' ') & (sign != '-')) | ((expSign != '+') & (expSign != '-')))
        return false;
    // The six mantissa digits as "00d0d1d2d3d4d5", then eight digits to a number in three products.
    uint64_t digits = (a & Bytes(0, 0, 0xFF, 0, 0, 0, 0, 0)) | (a & Bytes(0, 0, 0, 0, 0xFF, 0, 0, 0)) >> 8 | b << 32;
    digits = (digits | Bytes('0', '0', 0, 0, 0, 0, 0, 0)) - Bytes('0', '0', '0', '0', '0', '0', '0', '0');
    digits = digits * 10 + (digits >> 8);
    digits = ((digits & 0x000000FF000000FF) * (100 + (1000000ULL << 32)) +
              ((digits >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32))) >>
             32;
    const uint32_t mantissa = static_cast<uint32_t>(digits);
    const int exponent = static_cast<int>(Digit(p[11]) * 10 + Digit(p[12]));
    const int scale = (expSign == '-' ? -exponent : exponent) - 5;
    if (scale < -22 || scale > 22)
        return false;
    const double v = static_cast<double>(mantissa);
    const double r = scale < 0 ? v / kPow10[-scale] : v * kPow10[scale];
    value = sign == '-' ? -r : r;
    return true;
}

// The field at p, 13 bytes of which lie before end, followed by no digit before end.
inline bool ParseE13_5(const char* p, const char* end, double& value)
{
    if (end - p < 13 || (p + 13 < end && IsDigit(p[13])))
        return false; // a longer exponent: not this form
    return ParseE13_5(p, value);
}

#if defined(ORVEX_UF_PARSE_AVX512)

// What ScanFixedLinesAvx512 checks and gathers, by byte of the line: a line of six fields is two
// overlapping 64-byte loads, its bytes 0 to 63 and 15 to 78.
struct LineTables
{
    alignas(64) uint8_t expected[2][64];    // the character a byte must be (after folding) ...
    alignas(64) uint8_t alternative[2][64]; // ... or this one
    alignas(64) uint8_t fold[2][64];        // ORed in first: 'E' and 'e' alike
    uint64_t digits[2];                     // the bytes that must be digits
    uint64_t checked[2];                    // the bytes each load checks
    alignas(64) uint8_t mantissaAt[64];     // per field, 8 bytes: 0, 0, then its six mantissa digits
    alignas(64) uint8_t exponentAt[64];     // per field, 8 bytes: -, -, e0, e1, sign, exponent sign
    alignas(64) int8_t exponentWeights[64];
    uint64_t mantissaDigits;
    uint64_t exponentDigits;
};

// The index of line byte j in the two loads as the byte permutation reads them.
constexpr uint8_t Gathered(int j)
{
    return static_cast<uint8_t>(j < 64 ? j : 64 + j - 15);
}

constexpr LineTables MakeLineTables()
{
    LineTables t{};
    for (int load = 0; load < 2; ++load)
        for (int i = 0; i < 64; ++i) {
            const int j = load == 0 ? i : 15 + i;
            if (j >= 78 || (load == 1 && j < 64))
                continue;
            t.checked[load] |= uint64_t{1} << i;
            char a = 0, b = 0;
            switch (j % 13) {
            case 0:
                a = b = ' ';
                break;
            case 1:
                a = ' ', b = '-';
                break;
            case 3:
                a = b = '.';
                break;
            case 9:
                a = b = 'e';
                t.fold[load][i] = 0x20;
                break;
            case 10:
                a = '+', b = '-';
                break;
            default:
                t.digits[load] |= uint64_t{1} << i;
                break;
            }
            t.expected[load][i] = static_cast<uint8_t>(a);
            t.alternative[load][i] = static_cast<uint8_t>(b);
        }
    constexpr int kMantissa[6] = {2, 4, 5, 6, 7, 8};
    for (int f = 0; f < 6; ++f) {
        for (int k = 0; k < 6; ++k) {
            t.mantissaAt[8 * f + 2 + k] = Gathered(13 * f + kMantissa[k]);
            t.mantissaDigits |= uint64_t{1} << (8 * f + 2 + k);
        }
        t.exponentAt[8 * f + 2] = Gathered(13 * f + 11);
        t.exponentAt[8 * f + 3] = Gathered(13 * f + 12);
        t.exponentAt[8 * f + 4] = Gathered(13 * f + 1);
        t.exponentAt[8 * f + 5] = Gathered(13 * f + 10);
        t.exponentWeights[8 * f + 2] = 10;
        t.exponentWeights[8 * f + 3] = 1;
        t.exponentDigits |= uint64_t{3} << (8 * f + 2);
    }
    return t;
}

constexpr LineTables kLineTables = MakeLineTables();

#define ORVEX_UF_AVX512_TARGET __attribute__((target("avx512f,avx512bw,avx512dq,avx512vbmi")))

// ScanFixedLines with a line's six fields checked, gathered and converted at once: the same checks
// as ParseE13_5's, the mantissa and exponent digits turned into numbers by multiply-adds, and the
// value formed by the same conversion, multiplication or division, so it is the same to the bit.
ORVEX_UF_AVX512_TARGET size_t ScanFixedLinesAvx512(const char* p, const char* end, double* out, size_t count,
                                                   const char*& stop)
{
    const LineTables& t = kLineTables;
    const __m512i zero = _mm512_setzero_si512();
    const __m512i digitZero = _mm512_set1_epi8('0');
    const __m512i nine = _mm512_set1_epi8(9);
    __m512i expected[2], alternative[2], fold[2];
    for (int load = 0; load < 2; ++load) {
        expected[load] = _mm512_load_si512(t.expected[load]);
        alternative[load] = _mm512_load_si512(t.alternative[load]);
        fold[load] = _mm512_load_si512(t.fold[load]);
    }
    const __m512i mantissaAt = _mm512_load_si512(t.mantissaAt);
    const __m512i exponentAt = _mm512_load_si512(t.exponentAt);
    const __m512i exponentWeights = _mm512_load_si512(t.exponentWeights);
    const __m512i pairs = _mm512_set1_epi16(static_cast<short>(0x010A)); // bytes 10, 1
    const __m512i hundreds = _mm512_set1_epi32(0x00010064);              // words 100, 1
    const __m512i tenThousand = _mm512_set1_epi64(10000);
    const __m512i five = _mm512_set1_epi64(5);
    const __m512i limit = _mm512_set1_epi64(22);
    const __m512i signBit = _mm512_set1_epi64(int64_t{0x01} << 32);         // '-' (0x2D), not ' ' (0x20)
    const __m512i exponentSignBit = _mm512_set1_epi64(int64_t{0x04} << 40); // '-' (0x2D), not '+' (0x2B)
    const __m512d negativeZero = _mm512_set1_pd(-0.0);
    // The powers of ten 10^0 to 10^22 in three registers, picked by permutation: a gather of them
    // takes longer than the rest of the line's work on some processors.
    alignas(64) double powers[24];
    for (int k = 0; k < 24; ++k)
        powers[k] = k < 23 ? kPow10[k] : 1.0;
    const __m512d powersLow = _mm512_load_pd(powers), powersMiddle = _mm512_load_pd(powers + 8),
                  powersHigh = _mm512_load_pd(powers + 16);
    const __m512i sixteen = _mm512_set1_epi64(16);
    constexpr __mmask8 kFields = 0x3F;
    // The unmasked forms of some operations leave a lane undefined that this compiler then warns of.
    constexpr __mmask8 kAll = 0xFF;
    size_t n = 0;
    while (count - n >= 6 && end - p >= 79) {
        __builtin_prefetch(end - p > kPrefetchBytes ? p + kPrefetchBytes : end - 1);
        const size_t length = p[78] == '\n' ? 79 : (p[78] == '\r' && end - p >= 80 && p[79] == '\n' ? 80 : 0);
        if (length == 0)
            break;
        const __m512i bytes[2] = {_mm512_loadu_si512(p), _mm512_loadu_si512(p + 15)};
        bool fits = true;
        for (int load = 0; load < 2; ++load) {
            const __m512i x = bytes[load];
            const uint64_t digit = _mm512_cmple_epu8_mask(_mm512_sub_epi8(x, digitZero), nine);
            const __m512i folded = _mm512_or_si512(x, fold[load]);
            const uint64_t text =
                _mm512_cmpeq_epi8_mask(folded, expected[load]) | _mm512_cmpeq_epi8_mask(folded, alternative[load]);
            const uint64_t good = (digit & t.digits[load]) | (text & ~t.digits[load]);
            fits &= (good & t.checked[load]) == t.checked[load];
        }
        if (!fits)
            break;
        const __m512i mantissaBytes = _mm512_maskz_sub_epi8(
            t.mantissaDigits, _mm512_permutex2var_epi8(bytes[0], mantissaAt, bytes[1]), digitZero);
        const __m512i exponentRaw = _mm512_permutex2var_epi8(bytes[0], exponentAt, bytes[1]);
        const __m512i exponentBytes = _mm512_mask_sub_epi8(exponentRaw, t.exponentDigits, exponentRaw, digitZero);
        // Per field (a 64-bit lane): d0d1 in the low half and d2d3d4d5 in the high half.
        const __m512i mantissaParts = _mm512_madd_epi16(_mm512_maddubs_epi16(mantissaBytes, pairs), hundreds);
        const __m512i mantissa = _mm512_add_epi64(_mm512_maskz_mul_epu32(kAll, mantissaParts, tenThousand),
                                                  _mm512_maskz_srli_epi64(kAll, mantissaParts, 32));
        const __m512i exponent = _mm512_madd_epi16(_mm512_maddubs_epi16(exponentBytes, exponentWeights), hundreds);
        const __mmask8 negativeExponent = _mm512_test_epi64_mask(exponentRaw, exponentSignBit);
        const __mmask8 negative = _mm512_test_epi64_mask(exponentRaw, signBit);
        const __m512i scale = _mm512_sub_epi64(_mm512_mask_sub_epi64(exponent, negativeExponent, zero, exponent), five);
        const __m512i magnitude = _mm512_maskz_abs_epi64(kAll, scale);
        if (_mm512_mask_cmpgt_epi64_mask(kFields, magnitude, limit))
            break;
        // Lanes past the sixth hold no field: whatever power they pick is finite and never stored.
        const __m512d power =
            _mm512_mask_permutexvar_pd(_mm512_permutex2var_pd(powersLow, magnitude, powersMiddle),
                                       _mm512_cmpge_epu64_mask(magnitude, sixteen), magnitude, powersHigh);
        const __m512d v = _mm512_cvtepi64_pd(mantissa);
        const __mmask8 divide = _mm512_cmplt_epi64_mask(scale, zero);
        const __m512d r = _mm512_mask_div_pd(_mm512_mul_pd(v, power), divide, v, power);
        _mm512_mask_storeu_pd(out + n, kFields, _mm512_mask_xor_pd(r, negative, r, negativeZero));
        n += 6;
        p += length;
    }
    stop = p;
    return n;
}

#endif

} // namespace

int ScanNumbers(std::string_view line, double* out, int max)
{
    const char* p = line.data();
    const char* end = p + line.size();
    int n = 0;
    while (n < max && ParseE13_5(p, end, out[n])) {
        p += 13;
        ++n;
    }
    while (n < max) {
        while (p < end && IsSpace(*p))
            ++p;
        if (p == end)
            break;
        const size_t used = ParseNumber(p, end, out[n]);
        if (used == 0)
            break;
        p += used;
        ++n;
    }
    return n;
}

size_t ScanFixedLines(std::string_view data, size_t& pos, double* out, size_t count)
{
#if defined(ORVEX_UF_PARSE_AVX512)
    static const bool wide = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                             __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vbmi");
    if (wide) {
        const char* stop = nullptr;
        const size_t n = ScanFixedLinesAvx512(data.data() + pos, data.data() + data.size(), out, count, stop);
        pos = static_cast<size_t>(stop - data.data());
        return n;
    }
#endif
    return ScanFixedLinesPortable(data, pos, out, count);
}

size_t ScanFixedLinesPortable(std::string_view data, size_t& pos, double* out, size_t count)
{
    // A line of six fields is 78 characters and its line end; the seventh field's place must hold
    // the line end, so a longer line (or one of other fields) is left to ScanNumbers.
    const char* p = data.data() + pos;
    const char* const end = data.data() + data.size();
    size_t n = 0;
    while (count - n >= 6 && end - p >= 79) {
        __builtin_prefetch(end - p > kPrefetchBytes ? p + kPrefetchBytes : end - 1);
        const size_t length = p[78] == '\n' ? 79 : (p[78] == '\r' && end - p >= 80 && p[79] == '\n' ? 80 : 0);
        if (length == 0 || !ParseE13_5(p, out[n]) || !ParseE13_5(p + 13, out[n + 1]) ||
            !ParseE13_5(p + 26, out[n + 2]) || !ParseE13_5(p + 39, out[n + 3]) || !ParseE13_5(p + 52, out[n + 4]) ||
            !ParseE13_5(p + 65, out[n + 5]))
            break;
        n += 6;
        p += length;
    }
    pos = static_cast<size_t>(p - data.data());
    return n;
}

void CFieldScanner::SkipSpace()
{
    while (m_pos < m_text.size() && IsSpace(m_text[m_pos]))
        ++m_pos;
}

bool CFieldScanner::Int(int32_t& value)
{
    SkipSpace();
    const char* p = m_text.data() + m_pos;
    const char* end = m_text.data() + m_text.size();
    if (p < end && *p == '+') {
        ++p;
        if (p < end && *p == '-')
            return false;
    }
    int32_t v = 0;
    const auto result = std::from_chars(p, end, v);
    if (result.ec != std::errc())
        return false;
    value = v;
    m_pos = static_cast<size_t>(result.ptr - m_text.data());
    return true;
}

bool CFieldScanner::Word(std::string& value)
{
    SkipSpace();
    const size_t start = m_pos;
    while (m_pos < m_text.size() && !IsSpace(m_text[m_pos]))
        ++m_pos;
    if (m_pos == start)
        return false;
    value.assign(m_text.substr(start, m_pos - start));
    return true;
}

bool CFieldScanner::Double(double& value)
{
    SkipSpace();
    const size_t used = ParseNumber(m_text.data() + m_pos, m_text.data() + m_text.size(), value);
    if (used == 0)
        return false;
    m_pos += used;
    return true;
}

bool CFieldScanner::AtEnd()
{
    SkipSpace();
    return m_pos == m_text.size();
}

} // namespace uf
