#include "uff/DAQPPUFData.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "uff/UFLineReader.h"
#include "uff/UFScan.h"

IMPLEMENT_DYNAMIC(CDAQPPUFData, CObject)

CDAQPPUFData::~CDAQPPUFData() = default;

void CDAQPPUFData::SetIndex(const CDAQPPUFIndex& index)
{
    auto copy = std::make_unique<CDAQPPUFIndex>();
    *copy = index;
    m_pIndex = std::move(copy);
}

double CDAQPPUFData::GetAbscissa(int i) const
{
    return m_pIndex ? i * m_pIndex->GetAbscIncrement() + m_pIndex->GetAbscMin() : 0.0;
}

std::string CDAQPPUFData::GetFileTitle() const
{
    return m_pIndex ? m_pIndex->GetFileTitle() : std::string();
}

void CDAQPPUFData::Fail(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

int CDAQPPUFData::LoadData(const std::string& folder, const UFReadOptions& options, CFeedback* feedback)
{
    std::string error;
    const int ok = LoadData(folder, options, &error);
    if (!ok && error == kUnsupportedForm)
        feedback->Warning(kUnsupportedForm);
    return ok;
}

std::string CDAQPPUFData::PathIn(const std::string& folder) const
{
    const std::string title = m_pIndex ? m_pIndex->GetFileTitle() : std::string();
    return folder.empty() ? title : (std::filesystem::path(folder) / title).string();
}

int CDAQPPUFData::LoadData(const std::string& folder, const UFReadOptions& options, std::string* error)
{
    return LoadData(folder, options, error, nullptr);
}

int CDAQPPUFData::LoadData(const std::string& folder, const UFReadOptions& options, std::string* error,
                           const CUFLineReader* open)
{
    if (!m_pIndex) {
        Fail(error, "The dataset has no index.");
        return 0;
    }
    if (!options.bReload && m_complete)
        return 1;
    m_complete = false;
    try {
        const std::string path = PathIn(folder);
        CUFLineReader file;
        if (open) {
            file.OpenMemory(open->GetData(), path);
        } else if (!file.Open(path)) {
            Fail(error, Format("Cannot open %s: %s.", path.c_str(), file.GetOpenError().c_str()));
            return 0;
        }
        if (m_pIndex->GetOffset() < 0 || !file.Seek(static_cast<uint64_t>(m_pIndex->GetOffset()))) {
            Fail(error, Format("The dataset at %d lies beyond the end of %s.", m_pIndex->GetOffset(), path.c_str()));
            return 0;
        }
        std::string_view line;
        for (int i = 0; i < 11; ++i)
            if (!file.ReadLine(line)) {
                Fail(error, Format("The header of the dataset at %d in %s is cut short.", m_pIndex->GetOffset(),
                                   path.c_str()));
                return 0;
            }
        m_complete = ReadValues(file, options, error) != 0;
        return m_complete ? 1 : 0;
    } catch (const std::exception& e) {
        Fail(error, e.what());
        return 0;
    }
}

bool CDAQPPUFData::ReadNumbers(CUFLineReader& file, size_t count, std::vector<double>& out, std::string* error)
{
    out.clear();
    if (!CountFits(file, count, error))
        return false;
    out.resize(count);
    size_t got = 0;
    const bool ok = ReadNumbers(file, count, out.data(), got, error);
    out.resize(got);
    return ok;
}

bool CDAQPPUFData::ReadNumbers(CUFLineReader& file, size_t count, double* out, size_t& got, std::string* error)
{
    size_t n = 0;
    std::string_view line;
    while (n < count) {
        // Whole lines of the fixed fields are read in place, without looking for their ends first;
        // any other line is read as a line.
        size_t pos = file.Tell();
        const size_t fixed = uf::ScanFixedLines(file.GetData(), pos, out + n, count - n);
        if (fixed > 0) {
            n += fixed;
            file.Seek(pos);
            if (n == count)
                break;
        }
        if (!file.ReadLine(line)) {
            got = n;
            Fail(error, Format("The dataset ends early in %s.", file.GetFilePath().c_str()));
            return false;
        }
        if (uf::IsDelimiter(line)) {
            got = n;
            Fail(error, Format("The dataset at %llu in %s holds fewer values than it declares.",
                               static_cast<unsigned long long>(file.Tell()), file.GetFilePath().c_str()));
            return false;
        }
        n += static_cast<size_t>(uf::ScanNumbers(line, out + n, static_cast<int>(std::min<size_t>(6, count - n))));
    }
    got = n;
    return true;
}

bool CDAQPPUFData::CountFits(const CUFLineReader& file, size_t count, std::string* error)
{
    // n numbers take at least 2n - 1 characters: a count the rest of the file cannot hold is a
    // damaged or forged header, refused before anything is allocated for it.
    const uint64_t size = file.GetSize();
    const uint64_t left = size > file.Tell() ? size - file.Tell() : 0;
    if (count > 0 && count * 2 - 1 > left) {
        Fail(error, Format("The dataset declares more values than %s holds.", file.GetFilePath().c_str()));
        return false;
    }
    if (count > static_cast<uint64_t>(3 * kMaxValues)) {
        Fail(error, Format("The dataset declares more values than can be read at once (%lld).",
                           static_cast<long long>(kMaxValues)));
        return false;
    }
    return true;
}

std::string CDAQPPUFData::CheckCount(int64_t count, int numbersPerValue, uint64_t bytesLeft)
{
    if (count < 0)
        return Format("%lld values", static_cast<long long>(count));
    if (count > kMaxValues)
        return Format("%lld values, more than can be read at once (%lld)", static_cast<long long>(count),
                      static_cast<long long>(kMaxValues));
    // n numbers take at least 2n - 1 characters.
    const uint64_t numbers = static_cast<uint64_t>(count) * static_cast<uint64_t>(std::max(numbersPerValue, 1));
    if (numbers > 0 && numbers * 2 - 1 > bytesLeft)
        return Format("%lld values, more than the %llu bytes after its header can hold", static_cast<long long>(count),
                      static_cast<unsigned long long>(bytesLeft));
    return {};
}

int CDAQPPUFData::NumbersPerValue(const CUF58Index& index)
{
    const int form = index.GetOrdDataType();
    const bool complex = form == CUF58Index::kComplexSingle || form == CUF58Index::kComplexSingle + 1;
    return (complex ? 2 : 1) + (index.GetEvenSpacing() == 1 ? 0 : 1);
}

int CDAQPPUFData::LoadAll(const std::vector<CDAQPPUFData*>& items, const std::string& folder,
                          const UFReadOptions& options, int threads, std::vector<std::string>* errors,
                          const CUFLineReader* open)
{
    if (errors)
        errors->assign(items.size(), std::string());
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = static_cast<int>(std::min<size_t>(static_cast<size_t>(threads), std::max<size_t>(items.size(), 1)));
    // Each file is opened (mapped) once and shared by every dataset in it; a file that does not
    // open is left to each of its datasets to report.
    std::map<std::string, std::unique_ptr<CUFLineReader>> files;
    std::vector<const CUFLineReader*> fileOf(items.size(), nullptr);
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i] || !items[i]->m_pIndex || (!options.bReload && items[i]->m_complete))
            continue;
        const std::string path = items[i]->PathIn(folder);
        if (open && open->IsOpen() && open->GetFilePath() == path) {
            fileOf[i] = open;
            continue;
        }
        auto [it, added] = files.try_emplace(path);
        if (added) {
            it->second = std::make_unique<CUFLineReader>();
            if (!it->second->Open(it->first, true, threads))
                it->second.reset();
        }
        fileOf[i] = it->second.get();
    }
    // The values of every dataset read from an open file go into one block, taken from the system
    // at once. A dataset's part is bounded by the bytes up to the next dataset of its file, so a
    // forged count reserves no more than the file's bytes could hold; one whose count does not
    // fit gets no part and is refused by its reader as before.
    std::map<const CUFLineReader*, std::vector<int64_t>> offsetsOf;
    for (size_t i = 0; i < items.size(); ++i)
        if (fileOf[i])
            offsetsOf[fileOf[i]].push_back(items[i]->m_pIndex->GetOffset());
    for (auto& [file, offsets] : offsetsOf) {
        std::sort(offsets.begin(), offsets.end());
        offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    }
    std::vector<size_t> partAt(items.size(), 0), partDoubles(items.size(), 0);
    size_t total = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!fileOf[i])
            continue;
        const CDAQPPUFIndex& index = *items[i]->m_pIndex;
        const int64_t offset = index.GetOffset();
        const std::vector<int64_t>& offsets = offsetsOf[fileOf[i]];
        const auto after = std::upper_bound(offsets.begin(), offsets.end(), offset);
        const int64_t end = after == offsets.end() ? static_cast<int64_t>(fileOf[i]->GetSize()) : *after;
        const int64_t count = index.GetNumValues();
        if (offset < 0 || offset >= end || count <= 0 ||
            !CheckCount(count, NumbersPerValue(index), static_cast<uint64_t>(end - offset)).empty())
            continue;
        const int form = index.GetOrdDataType();
        const bool complex = form == CUF58Index::kComplexSingle || form == CUF58Index::kComplexSingle + 1;
        partAt[i] = total;
        partDoubles[i] = static_cast<size_t>(count) * (complex ? 2 : 1);
        total += (partDoubles[i] + 7) & ~size_t{7}; // each part on its own cache line
    }
    std::shared_ptr<CUFValueBlock> block;
    try {
        if (total > 0)
            block = CUFValueBlock::Make(total);
    } catch (const std::bad_alloc&) {
        // No room for all at once: each dataset takes its own memory, as one read alone does.
    }
    // The largest datasets are handed out first, so no thread is left reading a large one while
    // the others have finished.
    std::vector<size_t> order(items.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto declared = [&](size_t i) -> int64_t {
        return items[i] && items[i]->m_pIndex ? items[i]->m_pIndex->GetNumValues() : 0;
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return declared(a) > declared(b); });
    std::atomic<size_t> next{0};
    std::atomic<int> loaded{0};
    auto work = [&] {
        for (size_t k = next++; k < items.size(); k = next++) {
            const size_t i = order[k];
            std::string error;
            if (items[i] && block && partDoubles[i] > 0)
                items[i]->m_aValues.Prepare(block, block->data() + partAt[i], partDoubles[i]);
            if (items[i] && items[i]->LoadData(folder, options, &error, fileOf[i]))
                ++loaded;
            else if (errors)
                (*errors)[i] = items[i] ? error : std::string("No dataset.");
            if (items[i])
                items[i]->m_aValues.Unprepare();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (auto& t : pool)
        t.join();
    return loaded;
}

void CDAQPPUFData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion << static_cast<int32_t>(m_pIndex ? 1 : 0);
        if (m_pIndex)
            ar.WriteObject(m_pIndex.get());
        return;
    }
    uint8_t version = 0;
    int32_t hasIndex = 0;
    ar >> version >> hasIndex;
    m_pIndex.reset();
    m_aValues.Release();
    m_complete = false;
    if (hasIndex)
        m_pIndex = ar.ReadOwned<CDAQPPUFIndex>();
}
