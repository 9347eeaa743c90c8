#include "uff/UFScanner.h"

#include <algorithm>
#include <climits>

#include "platform/base/Format.h"
#include "uff/UFLineReader.h"
#include "platform/base/Feedback.h"
#include "uff/UFScan.h"

namespace {

constexpr uint64_t kProgressBytes = 4u << 20;

// The dataset number line of an ASCII dataset 58 and of its binary form.
bool IsDataset58(std::string_view line)
{
    return uf::Trim(line) == "58";
}
bool IsDataset58b(std::string_view line)
{
    return line.substr(0, 6) == "    58" && line.size() > 6 && (line[6] == 'b' || line[6] == 'B');
}

} // namespace

bool CUFScanner::SkipBinary(CUFLineReader& file, std::string_view line)
{
    // "    58b" then: byte order, number format, ASCII lines that follow, bytes after them.
    uf::CFieldScanner fields(line.substr(7));
    int32_t order = 0, format = 0, asciiLines = 0, bytes = 0;
    if (!fields.Int(order) || !fields.Int(format) || !fields.Int(asciiLines) || !fields.Int(bytes) || asciiLines < 0 ||
        asciiLines > 1000 || bytes < 0)
        return false;
    std::string_view skipped;
    for (int i = 0; i < asciiLines; ++i)
        if (!file.ReadLine(skipped))
            return false;
    const uint64_t end = file.Tell() + static_cast<uint64_t>(bytes);
    if (end > file.GetSize())
        return false;
    return file.Seek(end);
}

int CUFScanner::Scan(CUFLineReader& file, std::string* error)
{
    auto fail = [&](const std::string& text) {
        if (error)
            *error = text;
        return 0;
    };
    const uint64_t size = file.GetSize();
    // The position is told at least every hundredth of the file, and at most every kProgressBytes.
    const uint64_t every = std::min<uint64_t>(std::max<uint64_t>(size / 100, 1), kProgressBytes);
    uint64_t nextReport = every;
    std::string_view line;
    bool inside = false; // between the lines that open and close a dataset
    file.SetSearchThreads(threads);
    while (file.ReadToDelimiter(line)) {
        if (file.Tell() >= nextReport) {
            feedback->SetPos(static_cast<int64_t>(file.Tell()));
            nextReport = file.Tell() + every;
        }
        if (feedback->IsCancelled())
            return 0;
        inside = !inside;
        if (!inside)
            continue;
        if (!file.ReadLine(line))
            break;
        if (uf::IsDelimiter(line)) {
            inside = false; // an empty dataset: this line closes it
            continue;
        }
        if (IsDataset58b(line)) {
            ++m_binary;
            const uint64_t at = file.Tell();
            if (!SkipBinary(file, line))
                file.Seek(at);
            continue;
        }
        if (!IsDataset58(line))
            continue; // another dataset: passed over up to its closing line
        const uint64_t offset = file.Tell();
        if (offset > static_cast<uint64_t>(INT32_MAX))
            return fail(Format("The dataset at byte %llu of %s lies beyond what an index can hold; split the file "
                               "first.",
                               static_cast<unsigned long long>(offset), file.GetFilePath().c_str()));
        auto index = std::make_unique<CDAQPPUFIndex>();
        index->SetOffset(static_cast<int32_t>(offset));
        if (!index->ReadHeader(file)) {
            index->SetFile(file.GetFilePath());
            return fail(index->MakeErrorText());
        }
        ++m_datasets;
        if (dataset) {
            const uint64_t after = file.Tell();
            dataset(index, file);
            file.Seek(after);
        }
    }
    if (file.LineTooLong())
        return fail(Format("%s is not a readable universal file.", file.GetFilePath().c_str()));
    return 1;
}

int CUFScanner::Scan(const std::string& path, std::vector<std::unique_ptr<CDAQPPUFIndex>>& out, std::string* error,
                     CFeedback* progress, int threads)
{
    CUFLineReader file;
    if (!file.Open(path, true, threads)) {
        if (error)
            *error = Format("Cannot open %s: %s", path.c_str(), file.GetOpenError().c_str());
        return 0;
    }
    return Scan(file, out, error, progress, threads);
}

int CUFScanner::Scan(CUFLineReader& file, std::vector<std::unique_ptr<CDAQPPUFIndex>>& out, std::string* error,
                     CFeedback* progress, int threads)
{
    CUFScanner scan;
    scan.threads = threads;
    scan.feedback = progress;
    progress->Begin(Format("Indexing %s...", file.GetFilePath().c_str()), static_cast<int64_t>(file.GetSize()));
    scan.dataset = [&](std::unique_ptr<CDAQPPUFIndex>& index, CUFLineReader&) { out.push_back(std::move(index)); };
    const int result = scan.Scan(file, error);
    progress->End();
    return result;
}
