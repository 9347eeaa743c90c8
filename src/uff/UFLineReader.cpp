#include "uff/UFLineReader.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/RegularFile.h"
#include "uff/UFScan.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ORVEX_UF_SEARCH_AVX2 1
#endif

namespace {

// How far ahead of the search the bytes are asked for. A file's pages lie anywhere in memory and
// the processor's own prefetch stops at each 4 KB page, so without this the search waits on
// memory at every page it enters.
constexpr size_t kPrefetchBytes = 4096;

// Bytes each thread searches ahead at a time: large enough that starting the threads costs little
// against the search, small enough that the lists stay small whatever the file holds.
constexpr size_t kSearchBytesPerThread = size_t{8} << 20;
// Below this a part is not worth a thread of its own.
constexpr size_t kMinSearchBytesPerThread = size_t{1} << 20;

struct SearchFinds
{
    std::vector<size_t> delimiters;
    std::vector<size_t> longs;
};

// What a part's search keeps between blocks: where the last line started.
struct SearchState
{
    std::string_view data;
    size_t maxLength;
    SearchFinds& out;
    size_t previous; // the last line start seen; SIZE_MAX before the first

    void LineStart(size_t s)
    {
        if (previous != SIZE_MAX && s - 1 - previous > maxLength)
            out.longs.push_back(previous);
        Candidate(s);
        previous = s;
    }
    void Candidate(size_t s)
    {
        if (data.size() - s >= 6 && std::memcmp(data.data() + s, "    -1", 6) == 0)
            out.delimiters.push_back(s);
    }
    // A block of 64 bytes at q: newlines are the bits of its '\n' mask, and candidates those of them
    // with a '-' five bytes on. Only the first line end of a block can close a long line; the
    // others close lines shorter than the block.
    void Block(size_t q, uint64_t newlines, uint64_t candidates)
    {
        if (!newlines)
            return;
        const size_t first = q + static_cast<size_t>(__builtin_ctzll(newlines)) + 1;
        if (previous != SIZE_MAX && first - 1 - previous > maxLength)
            out.longs.push_back(previous);
        while (candidates) {
            Candidate(q + static_cast<size_t>(__builtin_ctzll(candidates)) + 1);
            candidates &= candidates - 1;
        }
        previous = q + 64 - static_cast<size_t>(__builtin_clzll(newlines));
    }
};

// The blocks of [q, stop) that lie 64 bytes and the 5 bytes after them before the end of the data;
// returns where it stopped.
size_t SearchBlocksBaseline(const char* bytes, size_t q, size_t stop, size_t size, SearchState& state)
{
#if defined(__SSE2__)
    const __m128i newline = _mm_set1_epi8('\n');
    const __m128i dash = _mm_set1_epi8('-');
    auto mask = [&](size_t at, __m128i c) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, c))));
    };
    for (; q + 64 <= stop && q + 69 <= size; q += 64) {
        __builtin_prefetch(bytes + std::min(q + kPrefetchBytes, size - 1));
        const uint64_t n =
            mask(q, newline) | mask(q + 16, newline) << 16 | mask(q + 32, newline) << 32 | mask(q + 48, newline) << 48;
        if (!n)
            continue;
        const uint64_t d =
            mask(q + 5, dash) | mask(q + 21, dash) << 16 | mask(q + 37, dash) << 32 | mask(q + 53, dash) << 48;
        state.Block(q, n, n & d);
    }
#else
    (void)bytes;
    (void)stop;
    (void)size;
    (void)state;
#endif
    return q;
}

#if defined(ORVEX_UF_SEARCH_AVX2)
__attribute__((target("avx2"))) size_t SearchBlocksAvx2(const char* bytes, size_t q, size_t stop, size_t size,
                                                        SearchState& state)
{
    const __m256i newline = _mm256_set1_epi8('\n');
    const __m256i dash = _mm256_set1_epi8('-');
    auto mask = [&](size_t at, __m256i c) __attribute__((target("avx2")))
    {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + at));
        return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(block, c))));
    };
    for (; q + 64 <= stop && q + 69 <= size; q += 64) {
        __builtin_prefetch(bytes + std::min(q + kPrefetchBytes, size - 1));
        const uint64_t n = mask(q, newline) | mask(q + 32, newline) << 32;
        if (!n)
            continue;
        const uint64_t d = mask(q + 5, dash) | mask(q + 37, dash) << 32;
        state.Block(q, n, n & d);
    }
    return q;
}

// The same with a block's 64 bytes compared at once.
__attribute__((target("avx512f,avx512bw"))) size_t SearchBlocksAvx512(const char* bytes, size_t q, size_t stop,
                                                                      size_t size, SearchState& state)
{
    const __m512i newline = _mm512_set1_epi8('\n');
    const __m512i dash = _mm512_set1_epi8('-');
    for (; q + 64 <= stop && q + 69 <= size; q += 64) {
        __builtin_prefetch(bytes + std::min(q + kPrefetchBytes, size - 1));
        const uint64_t n = _mm512_cmpeq_epi8_mask(_mm512_loadu_si512(bytes + q), newline);
        if (!n)
            continue;
        const uint64_t d = _mm512_cmpeq_epi8_mask(_mm512_loadu_si512(bytes + q + 5), dash);
        state.Block(q, n, n & d);
    }
    return q;
}
#endif

// Finds the line starts s in [first, last) of data: first itself when it follows a line end (or
// starts the data), and every byte after a '\n'. Lists those that begin "    -1" and those whose
// line, up to its '\n' or the end of the data, is longer than maxLength.
void SearchPart(std::string_view data, size_t first, size_t last, size_t maxLength, SearchFinds& out)
{
    const char* bytes = data.data();
    const size_t size = data.size();
    SearchState state{data, maxLength, out, SIZE_MAX};
    if (first == 0 || bytes[first - 1] == '\n')
        state.LineStart(first);
    // Line ends q in [first, last - 1): the line after each starts within the part.
    const size_t stop = last - 1;
    size_t q = first;
#if defined(ORVEX_UF_SEARCH_AVX2)
    static const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    static const bool avx2 = __builtin_cpu_supports("avx2");
    q = avx512 ? SearchBlocksAvx512(bytes, q, stop, size, state)
        : avx2 ? SearchBlocksAvx2(bytes, q, stop, size, state)
               : SearchBlocksBaseline(bytes, q, stop, size, state);
#else
    q = SearchBlocksBaseline(bytes, q, stop, size, state);
#endif
    for (; q < stop; ++q)
        if (bytes[q] == '\n')
            state.LineStart(q + 1);
    if (state.previous != SIZE_MAX) {
        const size_t avail = size - state.previous;
        if (avail > maxLength && !std::memchr(bytes + state.previous, '\n', maxLength + 1))
            out.longs.push_back(state.previous);
    }
}

} // namespace

CUFLineReader::~CUFLineReader()
{
    Close();
}

bool CUFLineReader::CopyWhole(int fd, size_t size, int threads)
{
    try {
        m_copied = CZeroedBlock(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    char* bytes = static_cast<char*>(m_copied.data());
    // Parts of whole 2 MB pages, so no two threads fault in the same page.
    constexpr size_t kPart = size_t{8} << 20;
    const size_t parts = (size + kPart - 1) / kPart;
    size_t count =
        threads > 0 ? static_cast<size_t>(threads) : std::max<size_t>(1, std::thread::hardware_concurrency());
    count = std::clamp<size_t>(parts, 1, count);
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    auto work = [&] {
        for (size_t k = next++; k < parts && !failed; k = next++) {
            size_t at = k * kPart;
            const size_t stop = std::min(size, at + kPart);
            while (at < stop) {
                const ssize_t got = ::pread(fd, bytes + at, stop - at, static_cast<off_t>(at));
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0) {
                    failed = true; // a read error, or the file shrank since it was opened
                    break;
                }
                at += static_cast<size_t>(got);
            }
        }
    };
    std::vector<std::thread> pool;
    try {
        for (size_t started = 1; started < count; ++started)
            pool.emplace_back(work);
    } catch (const std::system_error&) {
        // No more threads to be had: the parts are read by those there are.
    }
    work();
    for (auto& t : pool)
        t.join();
    if (failed)
        m_copied = CZeroedBlock();
    return !failed;
}

bool CUFLineReader::Open(const std::string& path, bool whole, int threads)
{
    Close();
    m_openError.clear();
    errno = 0;
    const int fd = OpenRegularFileDescriptor(path, &m_openError);
    if (fd < 0) {
        if (errno == 0)
            errno = EINVAL; // no system failure: the path names no regular file
        return false;
    }
    struct stat st
    {};
    if (::fstat(fd, &st) != 0 || st.st_size < 0) {
        const int err = errno;
        m_openError = std::strerror(err);
        ::close(fd);
        errno = err;
        return false;
    }
    const size_t size = static_cast<size_t>(st.st_size);
    if (whole && size >= CZeroedBlock::kMapBytes && size <= kMaxCopyBytes && CopyWhole(fd, size, threads)) {
        ::close(fd);
        m_data = std::string_view(static_cast<const char*>(m_copied.data()), size);
        m_path = path;
        ForgetSearch();
        return true;
    }
    void* map = nullptr;
    if (size > 0) {
        map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map == MAP_FAILED) {
            const int err = errno;
            m_openError = std::strerror(err);
            ::close(fd);
            errno = err;
            return false;
        }
    }
    ::close(fd); // the mapping keeps the file
    m_mapped = size > 0;
    m_memory = size == 0;
    m_data = std::string_view(static_cast<const char*>(map), size);
    m_path = path;
    m_mapAhead = whole && m_mapped;
    ForgetSearch();
    return true;
}

void CUFLineReader::OpenMemory(std::string_view text, const std::string& name)
{
    Close();
    m_memory = true;
    m_data = text;
    m_path = name;
    ForgetSearch();
}

void CUFLineReader::Close()
{
    if (m_mapped)
        ::munmap(const_cast<char*>(m_data.data()), m_data.size());
    m_mapped = false;
    m_memory = false;
    m_mapAhead = false;
    m_copied = CZeroedBlock();
    m_data = {};
    m_pos = 0;
    m_tooLong = false;
    ForgetSearch();
}

void CUFLineReader::ForgetSearch()
{
    m_searchBegin = m_searchEnd = 0;
    m_delimiterStarts.clear();
    m_longStarts.clear();
}

void CUFLineReader::SearchAhead(size_t from)
{
    const size_t size = m_data.size();
    size_t threads = m_searchThreads > 0 ? static_cast<size_t>(m_searchThreads)
                                         : std::max<size_t>(1, std::thread::hardware_concurrency());
    const size_t end = from + std::min(size - from, kSearchBytesPerThread * threads);
    threads = std::clamp<size_t>((end - from) / kMinSearchBytesPerThread, 1, threads);
    // The window is searched in parts of about kMinSearchBytesPerThread that the threads take as
    // they finish the last, so a thread the system holds back delays only the parts it has taken.
    const size_t parts = std::max(threads, (end - from) / kMinSearchBytesPerThread);
    std::vector<SearchFinds> finds(parts);
    auto part = [&](size_t t) {
        const size_t first = from + (end - from) * t / parts;
        const size_t last = from + (end - from) * (t + 1) / parts;
        if (first >= last)
            return;
        if (m_mapAhead) {
            // The part's pages are mapped in one go, which costs far less than a fault every few
            // pages while its bytes are searched; each thread maps the parts it takes.
            constexpr uintptr_t kPage = 4096;
            const uintptr_t base = reinterpret_cast<uintptr_t>(m_data.data());
            const uintptr_t begin = (base + first) & ~(kPage - 1);
#if defined(MADV_POPULATE_READ)
            ::madvise(reinterpret_cast<void*>(begin), base + last - begin, MADV_POPULATE_READ); // advice only
#endif
        }
        SearchPart(m_data, first, last, kMaxLineLength, finds[t]);
    };
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t t = next++; t < parts; t = next++)
            part(t);
    };
    std::vector<std::thread> pool;
    try {
        for (size_t started = 1; started < threads; ++started)
            pool.emplace_back(work);
    } catch (const std::system_error&) {
        // No more threads to be had: the parts are searched by those there are.
    }
    work();
    for (auto& t : pool)
        t.join();
    m_delimiterStarts.clear();
    m_longStarts.clear();
    for (const SearchFinds& f : finds) {
        m_delimiterStarts.insert(m_delimiterStarts.end(), f.delimiters.begin(), f.delimiters.end());
        m_longStarts.insert(m_longStarts.end(), f.longs.begin(), f.longs.end());
    }
    m_searchBegin = from;
    m_searchEnd = end;
}

bool CUFLineReader::ReadToDelimiter(std::string_view& line)
{
    const char* bytes = m_data.data();
    const size_t size = m_data.size();
    while (!m_tooLong && m_pos < size) {
        if (m_pos != 0 && bytes[m_pos - 1] != '\n') {
            // A seek into the middle of a line: the rest of it is a line of its own, as ReadLine
            // reads it.
            if (!ReadLine(line))
                return false;
            if (uf::IsDelimiter(line))
                return true;
            continue;
        }
        if (m_pos < m_searchBegin || m_pos >= m_searchEnd)
            SearchAhead(m_pos);
        const auto d = std::lower_bound(m_delimiterStarts.begin(), m_delimiterStarts.end(), m_pos);
        const auto l = std::lower_bound(m_longStarts.begin(), m_longStarts.end(), m_pos);
        const size_t nextDelimiter = d == m_delimiterStarts.end() ? SIZE_MAX : *d;
        const size_t nextLong = l == m_longStarts.end() ? SIZE_MAX : *l;
        if (nextLong < nextDelimiter) {
            m_pos = nextLong;
            m_tooLong = true;
            return false;
        }
        if (nextDelimiter == SIZE_MAX) {
            // Nothing more in the part searched: on to the first line that starts after it. The
            // line the part ends in is no long one, so its end is near.
            m_pos = m_searchEnd;
            if (m_pos < size && bytes[m_pos - 1] != '\n') {
                const void* nl = std::memchr(bytes + m_pos, '\n', size - m_pos);
                m_pos = nl ? static_cast<size_t>(static_cast<const char*>(nl) - bytes) + 1 : size;
            }
            continue;
        }
        m_pos = nextDelimiter;
        if (!ReadLine(line))
            return false;
        if (uf::IsDelimiter(line))
            return true;
    }
    return false;
}

bool CUFLineReader::ReadLine(std::string_view& line)
{
    if (m_tooLong || m_pos >= m_data.size())
        return false;
    const char* begin = m_data.data() + m_pos;
    const size_t avail = m_data.size() - m_pos;
    const size_t window = avail < kMaxLineLength + 1 ? avail : kMaxLineLength + 1;
    const void* nl = std::memchr(begin, '\n', window);
    size_t len = 0;
    if (nl) {
        len = static_cast<size_t>(static_cast<const char*>(nl) - begin);
        m_pos += len + 1;
    } else if (avail > kMaxLineLength) {
        m_tooLong = true;
        return false;
    } else {
        len = avail; // the last line has no line end
        m_pos = m_data.size();
    }
    if (len > 0 && begin[len - 1] == '\r')
        --len;
    line = std::string_view(begin, len);
    return true;
}

bool CUFLineReader::ReadLine(std::string& line)
{
    std::string_view view;
    if (!ReadLine(view))
        return false;
    line.assign(view.data(), view.size());
    return true;
}

bool CUFLineReader::Seek(uint64_t offset)
{
    m_tooLong = false;
    if (!IsOpen() || offset > m_data.size())
        return false;
    m_pos = static_cast<size_t>(offset);
    return true;
}
