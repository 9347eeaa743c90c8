#include "uff/UFDaqData.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <cmath>
#include <complex>
#include <map>
#include <thread>
#include <unordered_set>
#include <utility>

#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/BandInfoManager.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderList.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "uff/DAQPPRpmData.h"
#include "uff/DAQPPUFData.h"
#include "uff/UFLineReader.h"
#include "uff/UFRpmInfo.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ORVEX_UF_POWERS_AVX2 1
#endif

namespace {
constexpr double kTwoPi = 6.28318530717959;
// A band function of this type takes the correction of line-count ratios below.
constexpr int kCorrectedBandType = 3;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

CZuSubsystemTable PointColumns(int n)
{
    CZuSubsystemTable columns;
    for (int i = 0; i < n; ++i)
        columns.Add(Format("LP#%d", i + 1));
    return columns;
}

} // namespace

// The lines of a block mapped onto a band set: the manager counts line m at m * df, the block's
// line k lies at min + k * df, so block line k is manager line k + offset.
struct CUFDaqData::LineMapping
{
    CBandInfoManager manager;
    int offset = 0;
    const COctaveManager* bands;
    double min, df;
    int count;
    // The block lines [from, to) each band sums: those in the block and above 0 Hz.
    std::vector<int> from, to;

    LineMapping(const COctaveManager* bands, double min, double df, int count)
        : bands(bands), min(min), df(df), count(count)
    {
        offset = df > 0.0 ? static_cast<int>(std::lround(min / df)) : 0;
        manager.SetOctaveManager(bands);
        manager.SetDf(df);
        manager.SetLineCount(count + (offset > 0 ? offset : 0));
        manager.CreateBandInfoList();
        // With df > 0 the line frequencies never fall: the lines above 0 Hz are those from the
        // first one above it on.
        int above = 0;
        if (df > 0.0) {
            int hi = std::max(count, 0);
            while (above < hi) {
                const int mid = above + (hi - above) / 2;
                if (min + mid * df > 0.0)
                    hi = mid;
                else
                    above = mid + 1;
            }
        }
        for (const tagBandInfo& info : manager.GetBandList()) {
            from.push_back(std::max({info.nFirstLine - offset, 0, above}));
            to.push_back(std::max(from.back(), std::min(info.nFirstLine + info.nLineCount - offset, count)));
        }
    }
    bool Fits(const COctaveManager* b, double m, double d, int c) const
    {
        return b == bands && m == min && d == df && c == count;
    }
};

namespace {
// 0.0 and -0.0 are the same RPM; NaN is never found (as with ==) and so never filed.
double RpmKey(double rpm)
{
    return rpm == 0.0 ? 0.0 : rpm;
}
} // namespace

size_t CUFDaqData::RpmPointHash::operator()(const RpmPoint& k) const
{
    return std::hash<double>()(RpmKey(k.rpm)) * 31u + std::hash<int>()(k.point);
}

CUFDaqData::CUFDaqData() = default;

CUFDaqData::~CUFDaqData()
{
    Release();
}

void CUFDaqData::SetSubsystem(const std::string& name, int kind, double property)
{
    m_name = name;
    m_kind = kind;
    m_property = property;
}

double CUFDaqData::GetScaleFactor() const
{
    const double c = m_coefficientSwitch ? m_coefficient : 0.5;
    return c > 0.0 ? std::sqrt(c) : c;
}

bool CUFDaqData::AddBlock(std::unique_ptr<CDAQPPUFData>& block, double rpm, int structure, int tolerance)
{
    if (!block || !block->GetIndex())
        return false;
    const int time = block->GetIndex()->GetCreated();
    if (m_timeKey > 0 && std::llabs(static_cast<long long>(time) - m_timeKey) > tolerance)
        return false;
    m_timeKey = time;
    const int point = block->GetIndex()->GetLP();
    ++m_rows[static_cast<size_t>(RegisterPoint(point))].blocks;
    if (!std::isnan(rpm))
        m_blockIndex.emplace(RpmPoint{RpmKey(rpm), point}, m_blocks.size());
    Block entry;
    entry.data = std::move(block);
    entry.rpm = rpm;
    entry.structure = structure;
    m_blocks.push_back(std::move(entry));
    return true;
}

int CUFDaqData::RegisterPoint(int point)
{
    const int known = GetPointIndex(point);
    if (known >= 0)
        return known;
    m_pointIndex.emplace(point, static_cast<int>(m_points.size()));
    m_points.push_back(point);
    m_pointFlags.push_back(1);
    m_rows.emplace_back();
    return static_cast<int>(m_points.size()) - 1;
}

CDAQPPUFData* CUFDaqData::GetBlock(int i) const
{
    return i >= 0 && i < GetBlockCount() ? m_blocks[static_cast<size_t>(i)].data.get() : nullptr;
}

double CUFDaqData::GetBlockRpm(int i) const
{
    return i >= 0 && i < GetBlockCount() ? m_blocks[static_cast<size_t>(i)].rpm : 0.0;
}

CDAQPPUFData* CUFDaqData::FindBlock(double rpm, int point) const
{
    const Block* block = FindBlockEntry(rpm, point);
    return block ? block->data.get() : nullptr;
}

int CUFDaqData::GetPointIndex(int point) const
{
    const auto it = m_pointIndex.find(point);
    return it == m_pointIndex.end() ? -1 : it->second;
}

int CUFDaqData::FindRow(double rpm, int pointIndex) const
{
    if (pointIndex < 0 || static_cast<size_t>(pointIndex) >= m_rows.size())
        return -1;
    const auto& rows = m_rows[static_cast<size_t>(pointIndex)].rowOf;
    const auto it = rows.find(RpmKey(rpm));
    return it == rows.end() ? -1 : it->second;
}

void CUFDaqData::Note(const BuildContext& context, const std::string& text) const
{
    if (context.notes)
        context.notes->push_back(text);
}

bool CUFDaqData::PointFits(int point, const BuildContext& context) const
{
    const int i = GetPointIndex(point);
    return point >= 0 && point < context.localPoints && i >= 0 && m_pointFlags[static_cast<size_t>(i)] != 0;
}

auto CUFDaqData::FindBlockEntry(double rpm, int point) const -> const Block*
{
    if (std::isnan(rpm))
        return nullptr;
    const auto it = m_blockIndex.find(RpmPoint{RpmKey(rpm), point});
    return it == m_blockIndex.end() ? nullptr : &m_blocks[it->second];
}

auto CUFDaqData::FindBlockEntry(double rpm, int point) -> Block*
{
    return const_cast<Block*>(std::as_const(*this).FindBlockEntry(rpm, point));
}

bool CUFDaqData::LoadBlock(const Block& block, std::string* error, const CUFLineReader* open)
{
    CDAQPPUFData& data = *block.data;
    UFReadOptions options;
    // The structure option says the structures' spectra are in units of g.
    options.bGToSI = block.structure;
    return data.LoadData(FolderOf(data.GetIndex()->GetFile()), options, error, open) != 0;
}

namespace {

// The line powers and band roots four at a time where the processor can. The operations are the
// ones of the plain loops, each rounded as there (no fused multiply-add), so the values are the
// same to the bit.
#if defined(ORVEX_UF_POWERS_AVX2)
bool HasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// |X|^2 of lines [0, count) of x, rounded down to a multiple of 4; with acceleration X / (j 2 pi f)
// with f = min + k df, 0 where f is not above 0. Returns the lines done.
__attribute__((target("avx2"))) int ComplexPowersAvx2(const std::complex<double>* x, int count, double min, double df,
                                                      bool acceleration, double twoPi, double* out)
{
    int k = 0;
    const __m256d vmin = _mm256_set1_pd(min);
    const __m256d vdf = _mm256_set1_pd(df);
    const __m256d vtwoPi = _mm256_set1_pd(twoPi);
    const __m256d zero = _mm256_setzero_pd();
    for (; k + 4 <= count; k += 4) {
        const double* at = reinterpret_cast<const double*>(x + k);
        const __m256d a = _mm256_loadu_pd(at);     // re0 im0 re1 im1
        const __m256d b = _mm256_loadu_pd(at + 4); // re2 im2 re3 im3
        // (re0^2 + im0^2, re2^2 + im2^2, re1^2 + im1^2, re3^2 + im3^2), then in line order.
        const __m256d sums = _mm256_hadd_pd(_mm256_mul_pd(a, a), _mm256_mul_pd(b, b));
        __m256d p = _mm256_permute4x64_pd(sums, _MM_SHUFFLE(3, 1, 2, 0));
        if (acceleration) {
            const __m256d lines = _mm256_setr_pd(k, k + 1, k + 2, k + 3);
            const __m256d f = _mm256_add_pd(vmin, _mm256_mul_pd(lines, vdf));
            const __m256d w = _mm256_mul_pd(vtwoPi, f);
            p = _mm256_and_pd(_mm256_div_pd(p, _mm256_mul_pd(w, w)), _mm256_cmp_pd(f, zero, _CMP_GT_OQ));
        }
        _mm256_storeu_pd(out + k, p);
    }
    return k;
}

// sqrt(scale * v) of values [0, count) in place, rounded down to a multiple of 4; returns how many.
__attribute__((target("avx2"))) int RootsAvx2(double* values, int count, double scale)
{
    int b = 0;
    const __m256d vscale = _mm256_set1_pd(scale);
    for (; b + 4 <= count; b += 4)
        _mm256_storeu_pd(values + b, _mm256_sqrt_pd(_mm256_mul_pd(vscale, _mm256_loadu_pd(values + b))));
    return b;
}
#endif

} // namespace

void CUFDaqData::LinePowers(const CDAQPPUFData& data, std::vector<double>& out)
{
    // |X|^2, accelerations turned into velocities (X / (j 2 pi f)); a line at 0 Hz has no
    // velocity and is left at 0.
    const CUFValues& values = data.GetValues();
    const CDAQPPUFIndex& index = *data.GetIndex();
    const int count = static_cast<int>(values.size());
    const double min = index.GetAbscMin();
    const double df = index.GetAbscIncrement();
    const bool acceleration = index.GetAxisDataType(1) == kRespAcceleration;
    out.resize(static_cast<size_t>(count));
    double* power = out.data();
    int k = 0;
#if defined(ORVEX_UF_POWERS_AVX2)
    if (values.IsComplex() && HasAvx2())
        k = ComplexPowersAvx2(values.Complex().data(), count, min, df, acceleration, kTwoPi, power);
#endif
    for (; k < count; ++k) {
        double p = values.Norm(static_cast<size_t>(k));
        if (acceleration) {
            const double f = min + k * df;
            if (!(f > 0.0)) {
                power[k] = 0.0;
                continue;
            }
            const double w = kTwoPi * f;
            p /= w * w; // |X / (j w)|^2
        }
        power[k] = p;
    }
}

auto CUFDaqData::MappingFor(const COctaveManager* bands, double min, double df, int count) -> const LineMapping&
{
    for (const auto& mapping : m_mappings)
        if (mapping->Fits(bands, min, df, count))
            return *mapping;
    // Blocks of ever different axes keep a mapping each only while they are read.
    if (m_mappings.size() >= 8)
        m_mappings.clear();
    m_mappings.push_back(std::make_unique<LineMapping>(bands, min, df, count));
    return *m_mappings.back();
}

void CUFDaqData::BandValues(const LineMapping& own, const CDAQPPUFIndex& index, const double* powers, int count,
                            int bandCount, double* out) const
{
    // sqrt((2) * sum |X|^2) of the band's lines above 0 Hz.
    const double min = own.min;
    const double df = own.df;
    const CBandInfoList& list = own.manager.GetBandList();
    const int filled = std::min(bandCount, static_cast<int>(list.size()));
    if (df > 0.0 && count == own.count) {
        // The sums first, then their roots: neither loop waits on the other's work.
        const int* from = own.from.data();
        const int* to = own.to.data();
        for (int b = 0; b < filled; ++b) {
            double sum = 0.0;
            for (int k = from[b]; k < to[b]; ++k)
                sum += powers[k];
            out[b] = sum;
        }
        const double scale = m_doubling ? 2.0 : 1.0;
        int b = 0;
#if defined(ORVEX_UF_POWERS_AVX2)
        if (HasAvx2())
            b = RootsAvx2(out, filled, scale);
#endif
        for (; b < filled; ++b)
            out[b] = std::sqrt(scale * out[b]);
    } else {
        for (int b = 0; b < filled; ++b) {
            const tagBandInfo& info = list[static_cast<size_t>(b)];
            const int to = std::min(info.nFirstLine + info.nLineCount - own.offset, count);
            double sum = 0.0;
            for (int k = std::max(info.nFirstLine - own.offset, 0); k < to; ++k)
                if (min + k * df > 0.0)
                    sum += powers[k];
            out[b] = std::sqrt(m_doubling ? 2.0 * sum : sum);
        }
    }
    // The correction of a band function of the corrected type, left open by the line reader:
    // the share of the lines of the third-octave band (2 Hz to 16 kHz) around the band's
    // centre over the band's own lines, built with the block's line spacing and count.
    if (m_doubling && index.GetFuncType() == kCorrectedBandType) {
        const COctaveManager thirds(OCTAVE_BAND_THIRD, 2.0, 16000.0);
        const LineMapping second(&thirds, min, df, count);
        for (int b = 0; b < filled; ++b) {
            const tagBandInfo& info = list[static_cast<size_t>(b)];
            const int at = second.manager.FindBand(info.dCentre);
            const int outer = at >= 0 ? second.manager.GetBandList()[static_cast<size_t>(at)].nLineCount : 0;
            out[b] *= info.nLineCount > 0 && outer > 0 ? std::sqrt(double(outer) / info.nLineCount) : 0.0;
        }
    }
}

bool CUFDaqData::PreloadBlock(Block& block, const LineMapping* mapping, int bandCount, const COctaveManager* bands,
                              const CUFLineReader* file) const
{
    if (!LoadBlock(block, nullptr, file))
        return false;
    LinePowers(*block.data, block.powers);
    block.data->ReleaseValues();
    block.preloaded = true;
    const CDAQPPUFIndex& index = *block.data->GetIndex();
    const int count = static_cast<int>(block.powers.size());
    const double df = index.GetAbscIncrement();
    if (bandCount > 0 && df > 0.0 && count > 0 && !(mapping && mapping->Fits(bands, index.GetAbscMin(), df, count)))
        return true; // the values did not come as declared (or the axis has no mapping here): ReadBlock maps them
    block.bandValues.assign(static_cast<size_t>(bandCount), 0.0);
    if (mapping && bandCount > 0 && df > 0.0 && count > 0)
        BandValues(*mapping, index, block.powers.data(), count, bandCount, block.bandValues.data());
    block.bandsReady = true;
    return true;
}

// The blocks a group's functions are made of, read on every core ahead of ReadBlock, which takes
// them one by one in the order they are listed here; and the functions of each RPM, made on the
// same threads once ReadBlock has taken that RPM's blocks. The blocks are shared out in chunks of
// a few, and the values read but not yet taken stay under a bound: a run of any length is read
// with the memory of a few hundred blocks. Made and used on one thread; the workers stop and are
// joined when it goes, whatever is still queued.
class CUFDaqData::Preload
{
public:
    Preload(CUFDaqData& group, const std::vector<double>& rpms, const BuildContext& context)
        : m_group(group), m_bands(context.bands), m_bandCount(m_bands ? m_bands->GetFreqCount() : 0)
    {
        // Each block once, in the order ReadBlock asks for them (grid points may share an RPM).
        std::unordered_set<const Block*> taken;
        for (double rpm : rpms)
            for (int point : group.m_points)
                if (group.PointFits(point, context))
                    if (Block* block = group.FindBlockEntry(rpm, point);
                        block && !block->preloaded && taken.insert(block).second)
                        m_blocks.push_back(block);
        if (m_blocks.size() < 2) {
            m_blocks.clear();
            return;
        }
        int64_t chunkValues = 0;
        size_t chunkBlocks = 0;
        for (size_t i = 0; i < m_blocks.size(); ++i) {
            Block& block = *m_blocks[i];
            block.task = i;
            const CDAQPPUFIndex& index = *block.data->GetIndex();
            const int count = index.GetNumValues();
            m_mappingOf.push_back(m_bandCount > 0 && index.GetAbscIncrement() > 0.0 && count > 0
                                      ? MappingFor(index.GetAbscMin(), index.GetAbscIncrement(), count)
                                      : nullptr);
            // Each file is opened once and shared by its blocks' readers; a file that does not open
            // is left to each block to report.
            const CDAQPPUFData& data = *block.data;
            auto [it, added] = group.m_files.try_emplace(data.PathIn(FolderOf(data.GetIndex()->GetFile())));
            if (added) {
                it->second = std::make_unique<CUFLineReader>();
                if (!it->second->Open(it->first))
                    it->second.reset();
            }
            m_fileOf.push_back(it->second.get());
            // Chunks of a few blocks, or of many small ones.
            if (m_chunkEnd.empty() || chunkValues >= kChunkValues || chunkBlocks >= kChunkBlocks) {
                m_chunkEnd.push_back(i);
                m_chunkValues.push_back(m_chunkValues.back());
                chunkValues = 0;
                chunkBlocks = 0;
            }
            const int64_t v = std::max(count, 0);
            m_chunkEnd.back() = i + 1;
            m_chunkValues.back() += v;
            chunkValues += v;
            ++chunkBlocks;
        }
        m_ready.assign(m_chunkEnd.size(), 0);
        // No more threads than there are chunks to read and functions to make (one per RPM).
        const size_t threads =
            std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), m_chunkEnd.size() + rpms.size());
        try {
            for (size_t t = 0; t < threads; ++t)
                m_threads.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            // Fewer threads, or none: ReadBlock then reads the blocks no worker takes.
        }
    }

    ~Preload()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_workCv.notify_all();
        for (std::thread& t : m_threads)
            t.join();
        for (Block* block : m_blocks)
            block->task = SIZE_MAX;
    }

    bool Running() const { return !m_threads.empty(); }

    // Waits until the block's chunk is read; the chunks before it are then taken.
    void Wait(const Block& block)
    {
        if (block.task >= m_blocks.size() || !Running())
            return;
        const size_t c = ChunkOf(block.task);
        std::unique_lock<std::mutex> lock(m_mutex);
        if (c > m_taken) {
            m_taken = c;
            m_workCv.notify_all();
        }
        m_doneCv.wait(lock, [&] { return m_ready[c] != 0; });
    }

    // Runs job on a worker, or here when there are none; Finish waits for every job and passes on
    // what one threw.
    void Post(std::function<void()> job)
    {
        if (!Running()) {
            job();
            return;
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_jobs.push_back(std::move(job));
            ++m_posted;
        }
        m_workCv.notify_one();
    }
    void Finish()
    {
        if (!Running())
            return;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_taken = m_chunkEnd.size();
        m_workCv.notify_all();
        m_doneCv.wait(lock, [&] { return m_jobsDone == m_posted; });
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
    }

private:
    static constexpr int64_t kChunkValues = int64_t{1} << 14;
    static constexpr size_t kChunkBlocks = 256;
    // Values read ahead of ReadBlock at most (besides the chunk it waits for).
    static constexpr int64_t kAheadValues = int64_t{1} << 22;
    static constexpr size_t kMaxMappings = 8;

    size_t ChunkOf(size_t task) const
    {
        return static_cast<size_t>(std::upper_bound(m_chunkEnd.begin(), m_chunkEnd.end(), task) - m_chunkEnd.begin());
    }

    // The mapping of an axis, made here before the threads read it. Blocks of many different axes
    // get a mapping for the first few; ReadBlock maps the others.
    const LineMapping* MappingFor(double min, double df, int count)
    {
        for (const auto& mapping : m_mappings)
            if (mapping->Fits(m_bands, min, df, count))
                return mapping.get();
        if (m_mappings.size() >= kMaxMappings)
            return nullptr;
        m_mappings.push_back(std::make_unique<LineMapping>(m_bands, min, df, count));
        return m_mappings.back().get();
    }

    // Jobs first (they free the way for the functions), then the next chunk while the values read
    // ahead stay under the bound.
    void Work()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            if (m_stop)
                return;
            if (!m_jobs.empty()) {
                std::function<void()> job = std::move(m_jobs.front());
                m_jobs.pop_front();
                lock.unlock();
                std::exception_ptr failure;
                try {
                    job();
                } catch (...) {
                    failure = std::current_exception();
                }
                job = nullptr;
                lock.lock();
                if (failure && !m_failure)
                    m_failure = failure;
                ++m_jobsDone;
                m_doneCv.notify_all();
                continue;
            }
            const size_t c = m_next;
            if (c < m_chunkEnd.size() &&
                (c <= m_taken || m_chunkValues[c + 1] - m_chunkValues[m_taken] <= kAheadValues)) {
                ++m_next;
                lock.unlock();
                for (size_t i = c == 0 ? 0 : m_chunkEnd[c - 1]; i < m_chunkEnd[c]; ++i) {
                    Block& block = *m_blocks[i];
                    try {
                        m_group.PreloadBlock(block, m_mappingOf[i], m_bandCount, m_bands, m_fileOf[i]);
                    } catch (...) {
                        // ReadBlock reads it again, on its own thread, where running out of memory
                        // ends the import with a message.
                        block.powers = std::vector<double>();
                        block.bandValues = std::vector<double>();
                        block.preloaded = block.bandsReady = false;
                        block.data->ReleaseValues();
                    }
                }
                lock.lock();
                m_ready[c] = 1;
                m_doneCv.notify_all();
                continue;
            }
            m_workCv.wait(lock);
        }
    }

    CUFDaqData& m_group;
    const COctaveManager* m_bands;
    int m_bandCount;
    std::vector<Block*> m_blocks;
    std::vector<const LineMapping*> m_mappingOf; // parallel to m_blocks
    std::vector<const CUFLineReader*> m_fileOf;  // parallel to m_blocks
    std::vector<std::unique_ptr<LineMapping>> m_mappings;
    std::vector<size_t> m_chunkEnd;        // the block after each chunk
    std::vector<int64_t> m_chunkValues{0}; // values declared by the chunks before each (one more entry)
    std::vector<std::thread> m_threads;

    std::mutex m_mutex;
    std::condition_variable m_workCv; // workers: a job, a chunk within the bound, or the stop
    std::condition_variable m_doneCv; // ReadBlock and Finish: a chunk read, a job done
    std::vector<char> m_ready;        // per chunk
    size_t m_next = 0;                // the next chunk to read
    size_t m_taken = 0;               // the chunk ReadBlock waits for or reads from
    std::deque<std::function<void()>> m_jobs;
    size_t m_posted = 0;
    size_t m_jobsDone = 0;
    std::exception_ptr m_failure;
    bool m_stop = false;
};

bool CUFDaqData::ReadBlock(double rpm, int point, const BuildContext& context, Preload* preload)
{
    const int p = GetPointIndex(point);
    if (FindRow(rpm, p) >= 0)
        return true; // read already for an earlier grid point at the same RPM
    Block* block = FindBlockEntry(rpm, point);
    if (!block)
        return false;
    if (preload)
        preload->Wait(*block);
    CDAQPPUFData& data = *block->data;
    const CDAQPPUFIndex& index = *data.GetIndex();
    // A block the preload read comes with its line powers; one it could not read is read again
    // here, to report why.
    std::vector<double> powers = std::move(block->powers);
    block->powers = std::vector<double>();
    if (!block->preloaded) {
        std::string error;
        if (!LoadBlock(*block, &error)) {
            Note(context, Format("%s: %s", index.GetFileTitle().c_str(), error.c_str()));
            return false;
        }
        LinePowers(data, powers);
        data.ReleaseValues();
    }
    block->preloaded = false;
    PointRows& rows = m_rows[static_cast<size_t>(p)];
    const int count = static_cast<int>(powers.size());
    const double min = index.GetAbscMin();
    const double df = index.GetAbscIncrement();

    if (rows.lineCount < 0) {
        rows.lineCount = count;
        rows.lineFreqs.resize(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k)
            rows.lineFreqs[static_cast<size_t>(k)] = min + k * df;
    }
    if (count != rows.lineCount) {
        Note(context,
             Format("%s: the dataset at %g RPM has %d values where the point's others have %d; it was skipped.",
                    index.GetFileTitle().c_str(), rpm, count, rows.lineCount));
        return false;
    }

    // Band values over the project's bands, from the preload or computed here.
    const COctaveManager* bands = context.bands;
    const int bandCount = bands ? bands->GetFreqCount() : 0;
    if (rows.rowOf.empty())
        rows.bandCount = bandCount;
    std::vector<double> values = std::move(block->bandValues);
    block->bandValues = std::vector<double>();
    if (!block->bandsReady || values.size() != static_cast<size_t>(bandCount)) {
        values.assign(static_cast<size_t>(bandCount), 0.0);
        if (bandCount > 0 && df > 0.0 && count > 0)
            BandValues(MappingFor(bands, min, df, count), index, powers.data(), count, bandCount, values.data());
    }
    block->bandsReady = false;
    const int row = static_cast<int>(rows.rowOf.size());
    rows.rowOf.emplace(RpmKey(rpm), row);
    values.resize(static_cast<size_t>(rows.bandCount), 0.0);
    rows.bands.push_back(std::move(values));

    // The levels of the context's orders at this RPM, over the lines of the point's first block.
    const int orderCount = context.orders ? context.orders->GetSize() : 0;
    for (int o = 0; o < orderCount; ++o)
        rows.orders.push_back(OrderLevel(rows.lineFreqs, powers.data(), static_cast<size_t>(count), rpm,
                                         (*context.orders)[o], context.orderBandWidth));
    return true;
}

double CUFDaqData::OrderLevel(const std::vector<double>& freqs, const double* powers, size_t count, double rpm,
                              double order, double width)
{
    const double centre = rpm * order / 60.0;
    const double lo = centre - width / 2.0;
    const double hi = centre + width / 2.0;
    count = std::min(freqs.size(), count);
    // The lines lie at min + k * df: with df > 0 they ascend, and the band is one run of them.
    const bool ascending = count >= 2 && freqs[1] > freqs[0];
    size_t k = 0;
    if (ascending)
        k = static_cast<size_t>(std::lower_bound(freqs.begin(), freqs.begin() + static_cast<ptrdiff_t>(count), lo) -
                                freqs.begin());
    double sum = 0.0;
    for (; k < count; ++k) {
        const double f = freqs[k];
        if (f >= lo && f < hi)
            sum += powers[k];
        else if (ascending && f >= hi)
            break;
    }
    return std::sqrt(2.0 * sum);
}

std::vector<std::unique_ptr<CMElement>> CUFDaqData::BuildFunctions(const BuildContext& context)
{
    std::vector<std::unique_ptr<CMElement>> out;
    for (size_t i = 0; i < m_points.size(); ++i)
        if (m_pointFlags[i] != 0 && !PointFits(m_points[i], context))
            Note(context, Format("%s: local point %d is not assigned to the subsystem; its data were skipped.",
                                 m_name.c_str(), m_points[i] + 1));
    if (context.mode == 2)
        BuildOrderDataFunction(context, out);
    else
        BuildRpmFunctions(context, out);
    return out;
}

void CUFDaqData::BuildRpmFunctions(const BuildContext& context, std::vector<std::unique_ptr<CMElement>>& out)
{
    const double factor = GetScaleFactor();
    const int n = context.localPoints;
    const CZuSubsystemTable columns = PointColumns(n);
    const std::vector<double> freqs = context.bands ? context.bands->GetFreqArray() : std::vector<double>();
    const int grid = context.run ? static_cast<int>(context.run->gridIndexes.size()) : 0;
    std::vector<double> gridRpms;
    for (int k = 0; k < grid; ++k)
        gridRpms.push_back(context.run->GridRpm(k));

    // Band values per grid RPM, a column per local point.
    auto levels = std::make_unique<CZuRpmMultiVecFunc>(FormatString(IDS_CHANNEL_LEVELS, m_name.c_str()), nullptr,
                                                       ElementType::ChannelLevels);
    levels->SetLabel(m_name);
    // The functions of each RPM are made on the preload's threads once its blocks are taken; they
    // go into the levels in the grid's order when all are made.
    std::vector<std::unique_ptr<CMultiVectorFunction>> vecs(gridRpms.size());
    {
        Preload preload(*this, gridRpms, context);
        for (size_t k = 0; k < gridRpms.size(); ++k) {
            const double rpm = gridRpms[k];
            std::vector<std::pair<int, const double*>> bandsOf; // point, its band values
            int bandCount = 0;
            for (size_t p = 0; p < m_points.size(); ++p) {
                const int point = m_points[p];
                if (!PointFits(point, context) || !ReadBlock(rpm, point, context, &preload))
                    continue;
                const PointRows& rows = m_rows[p];
                const int row = FindRow(rpm, static_cast<int>(p));
                if (row < 0 || point >= columns.GetCount())
                    continue;
                bandsOf.emplace_back(point, rows.bands[static_cast<size_t>(row)].data());
                bandCount = rows.bandCount;
            }
            preload.Post([this, &vecs, &columns, &freqs, k, rpm, factor, bandCount, bandsOf = std::move(bandsOf)] {
                auto vec = std::make_unique<CMultiVectorFunction>(
                    Format("%.2f", rpm), &columns, static_cast<int>(freqs.size()), nullptr, ElementType::Energy);
                vec->SetLabel(m_name);
                vec->SetDataIndexArray(freqs);
                // Each band a row of the function, each point a column.
                const size_t stride = static_cast<size_t>(vec->GetSubsystemCount());
                const int filled = std::min({bandCount, static_cast<int>(freqs.size()), vec->GetDataCount()});
                double* out = vec->ValueData();
                for (int b = 0; b < filled; ++b, out += stride)
                    for (const auto& [point, band] : bandsOf)
                        out[point] = band[b] * factor;
                vecs[k] = std::move(vec);
            });
        }
        // Every block is read: the files are closed on a worker while the last functions are made.
        if (!m_files.empty()) {
            auto files = std::make_shared<decltype(m_files)>(std::move(m_files));
            m_files.clear();
            preload.Post([files] { files->clear(); });
        }
        preload.Finish();
    }
    for (size_t k = 0; k < gridRpms.size(); ++k)
        levels->AddRpmData(gridRpms[k], std::move(vecs[k]));
    m_files.clear();
    const int freqCount = levels->GetFreqCount();
    out.push_back(std::move(levels));

    // The combined spectrum, filled by the local-point combination of the data set.
    auto spectrum = std::make_unique<CZuRpmFunc>(FormatString(IDS_SPECTRUM, m_name.c_str()), freqCount, nullptr,
                                                 ElementType::SpectrumMap);
    for (int b = 0; b < freqCount && b < static_cast<int>(freqs.size()); ++b)
        spectrum->SetFreq(b, freqs[static_cast<size_t>(b)]);
    spectrum->SetLabel(m_name);
    out.push_back(std::move(spectrum));

    if (context.mode != 0)
        return;
    // Order levels over the grid RPMs: one vector function per order.
    auto orderData = std::make_unique<CZuRpmMultiVecFunc>(FormatString(IDS_ORDER_DATA, m_name.c_str()), nullptr,
                                                          ElementType::OrderData);
    orderData->SetLabel(m_name);
    const int orders = context.orders ? context.orders->GetSize() : 0;
    for (int o = 0; o < orders; ++o) {
        const double order = (*context.orders)[o];
        auto vec =
            std::make_unique<CMultiVectorFunction>(Format("%g", order), &columns, grid, nullptr, ElementType::Energy);
        vec->SetLabel(m_name);
        vec->SetDataIndexArray(gridRpms);
        for (int k = 0; k < grid; ++k)
            for (size_t p = 0; p < m_points.size(); ++p) {
                if (!PointFits(m_points[p], context))
                    continue;
                // Read with the band values: 0 at an RPM without data.
                const std::vector<double>& levels = m_rows[p].orders;
                const int row = FindRow(gridRpms[static_cast<size_t>(k)], static_cast<int>(p));
                const size_t at = static_cast<size_t>(row) * static_cast<size_t>(orders) + static_cast<size_t>(o);
                vec->DataValue(k, m_points[p]) = row >= 0 && at < levels.size() ? levels[at] * factor : 0.0;
            }
        orderData->AddRpmData(order, std::move(vec));
    }
    out.push_back(std::move(orderData));
    out.push_back(MakeOrderLevels(context, gridRpms));
}

void CUFDaqData::BuildOrderDataFunction(const BuildContext& context, std::vector<std::unique_ptr<CMElement>>& out)
{
    const double factor = GetScaleFactor();
    const CZuSubsystemTable columns = PointColumns(context.localPoints);
    // An order function at 0 RPM has no order frequency: such rows are left out.
    std::vector<double> rpms;
    if (context.run)
        for (double r : context.run->rpms)
            if (r != 0.0)
                rpms.push_back(r);
    auto orderData = std::make_unique<CZuRpmMultiVecFunc>(FormatString(IDS_ORDER_DATA, m_name.c_str()), nullptr,
                                                          ElementType::OrderData);
    orderData->SetLabel(m_name);
    auto vec = std::make_unique<CMultiVectorFunction>(Format("%g", context.order), &columns,
                                                      static_cast<int>(rpms.size()), nullptr, ElementType::Energy);
    vec->SetLabel(m_name);
    vec->SetDataIndexArray(rpms);
    for (const Block& b : m_blocks) {
        const auto* data = dynamic_cast<const CDAQPPRpmData*>(b.data.get());
        const int point = b.data->GetIndex()->GetLP();
        if (!data || !PointFits(point, context))
            continue;
        const bool acceleration = b.data->GetIndex()->GetAxisDataType(1) == kRespAcceleration;
        const std::vector<double>& at = data->GetRpm();
        const auto& values = data->GetValues();
        for (size_t r = 0; r < rpms.size(); ++r) {
            for (size_t i = 0; i < at.size() && i < values.size(); ++i) {
                if (at[i] != rpms[r])
                    continue;
                std::complex<double> x = values[i];
                if (acceleration)
                    x /= std::complex<double>(0.0, kTwoPi * (rpms[r] * context.order / 60.0));
                vec->DataValue(static_cast<int>(r), point) = std::abs(x) * factor;
                break;
            }
        }
    }
    orderData->AddRpmData(context.order, std::move(vec));
    out.push_back(std::move(orderData));
    out.push_back(MakeOrderLevels(context, rpms));
}

std::unique_ptr<CMElement> CUFDaqData::MakeOrderLevels(const BuildContext& context,
                                                       const std::vector<double>& rpms) const
{
    // Rows: the RPMs; columns: the project's orders. The local-point averaging fills it.
    CZuSubsystemTable columns;
    COrderList orders = context.orders ? *context.orders : COrderList();
    for (int o = 0; o < orders.GetSize(); ++o)
        columns.Add(Format("Order#%g", orders[o]));
    auto func = std::make_unique<COTMultiVecFunc>(FormatString(IDS_ORDER_LEVELS, m_name.c_str()), &columns,
                                                  static_cast<int>(rpms.size()), nullptr, ElementType::OrderLevels);
    func->SetLabel(m_name);
    func->SetOrderList(orders);
    func->SetDataIndexArray(rpms);
    return func;
}

void CUFDaqData::Release()
{
    m_blocks.clear();
    m_blockIndex.clear();
    for (PointRows& rows : m_rows)
        rows = PointRows();
    m_mappings.clear();
    m_files.clear();
}
