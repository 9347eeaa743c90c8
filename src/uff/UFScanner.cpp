#include "uff/UFScanner.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/base/Format.h"
#include "uff/UFLineReader.h"
#include "platform/base/Feedback.h"
#include "uff/UFScan.h"

namespace {
constexpr uint64_t kProgressBytes = 4u << 20;
}

int CUFScanner::Scan(const std::string& path, std::vector<std::unique_ptr<CDAQPPUFIndex>>& out, std::string* error,
                     CFeedback* progress)
{
    CUFLineReader file;
    if (!file.Open(path)) {
        if (error)
            *error = Format("Cannot open %s: %s", path.c_str(), std::strerror(errno));
        return 0;
    }
    return Scan(file, out, error, progress);
}

int CUFScanner::Scan(CUFLineReader& file, std::vector<std::unique_ptr<CDAQPPUFIndex>>& out, std::string* error,
                     CFeedback* progress)
{
    const uint64_t size = file.GetSize();
    if (progress)
        progress->Begin(Format("Indexing %s...", file.GetFilePath().c_str()), static_cast<int64_t>(size));
    uint64_t nextReport = kProgressBytes;
    auto fail = [&](const std::string& text) {
        if (error)
            *error = text;
        if (progress)
            progress->End();
        return 0;
    };
    std::string_view line;
    bool inside = false; // between the lines that open and close a dataset
    bool wantType = false;
    while (file.ReadLine(line)) {
        if (progress && file.Tell() >= nextReport) {
            progress->SetPos(static_cast<int64_t>(file.Tell()));
            nextReport = file.Tell() + kProgressBytes;
        }
        if (wantType) {
            wantType = false;
            if (uf::Trim(line) != "58")
                continue; // another dataset: passed over up to its closing line
            const uint64_t offset = file.Tell();
            auto index = std::make_unique<CDAQPPUFIndex>();
            if (offset > static_cast<uint64_t>(INT32_MAX))
                return fail(Format("The dataset at byte %llu of %s lies beyond what an index can hold; split the file "
                                   "first.",
                                   static_cast<unsigned long long>(offset), file.GetFilePath().c_str()));
            index->SetOffset(static_cast<int32_t>(offset));
            if (!index->ReadHeader(file)) {
                index->SetFile(file.GetFilePath());
                return fail(index->MakeErrorText());
            }
            out.push_back(std::move(index));
            continue;
        }
        if (uf::IsDelimiter(line)) {
            inside = !inside;
            wantType = inside;
        }
    }
    if (file.LineTooLong() || file.ReadError())
        return fail(Format("%s is not a readable universal file.", file.GetFilePath().c_str()));
    if (progress)
        progress->End();
    return 1;
}
