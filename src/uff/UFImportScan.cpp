#include "uff/UFImportScan.h"

#include <climits>
#include <memory>
#include <string_view>

#include "platform/base/Format.h"
#include "uff/DAQPPUFIndex.h"
#include "uff/SplitUf.h"
#include "uff/UFLineReader.h"
#include "uff/UFScan.h"

namespace {
// The dataset number line of an ASCII dataset 58 and of its binary form.
bool IsDataset58(std::string_view line)
{
    return line.substr(0, 6) == "    58" && uf::Trim(line.substr(6)).empty();
}
bool IsDataset58b(std::string_view line)
{
    return line.substr(0, 6) == "    58" && line.size() > 6 && (line[6] == 'b' || line[6] == 'B');
}
} // namespace

bool CUFImportScan::SkipBinary(CUFLineReader& file, const std::string& line)
{
    // "    58b" then: byte order, number format, ASCII lines that follow, bytes after them.
    uf::CFieldScanner fields(std::string_view(line).substr(7));
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

int CUFImportScan::Scan(CUFLineReader& file)
{
    const uint64_t size = file.GetSize();
    std::string_view line;
    bool inside = false; // between the lines that open and close a dataset
    while (file.ReadLine(line)) {
        if (!uf::IsDelimiter(line))
            continue;
        if (progress) {
            const int percent = size ? static_cast<int>(file.Tell() * 100 / size) : 100;
            if (progress(percent))
                return 0;
        }
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
            const std::string header(line);
            const uint64_t at = file.Tell();
            // Passed over by its size, so binary bytes are never read as lines; the closing
            // delimiter follows.
            if (!SkipBinary(file, header))
                file.Seek(at);
            continue;
        }
        if (!IsDataset58(line))
            continue; // another dataset: passed over up to its closing line
        const uint64_t offset = file.Tell();
        auto index = std::make_unique<CDAQPPUFIndex>();
        if (offset > static_cast<uint64_t>(INT32_MAX))
            throw CUFImportAbort(Format("The dataset at byte %llu of %s lies beyond what an index can hold.",
                                        static_cast<unsigned long long>(offset), file.GetFilePath().c_str()));
        index->SetOffset(static_cast<int32_t>(offset));
        if (!index->ReadHeader(file)) {
            index->SetFile(file.GetFilePath());
            throw CUFImportAbort(Format("Filed to make a UF index data.\n%s\n%s\n%s\n%s\n%s\n",
                                        index->GetIDLine(0).c_str(), index->GetIDLine(1).c_str(),
                                        index->GetIDLine(2).c_str(), index->GetIDLine(3).c_str(),
                                        index->GetIDLine(4).c_str()));
        }
        ++m_datasets;
        const int type = index->GetFuncType();
        const bool spectrum = type == kFuncAutoSpectrum || type == kFuncSpectrum;
        if ((spectrum || type == kFuncOrder) && dataset) {
            const uint64_t after = file.Tell();
            dataset(*index, file, type == kFuncOrder);
            file.Seek(after);
        }
    }
    if (file.LineTooLong() || file.ReadError())
        throw CUFImportAbort(Format("%s is not a readable universal file.", file.GetFilePath().c_str()));
    return 1;
}
