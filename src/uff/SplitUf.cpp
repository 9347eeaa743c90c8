#include "uff/SplitUf.h"

#include <cerrno>
#include <filesystem>
#include <memory>

#include "platform/base/AtomicFile.h"
#include "platform/base/Format.h"
#include "platform/base/Feedback.h"
#include "uff/UFLineReader.h"
#include "uff/UFScan.h"

namespace {

// The cause codes of the class library's file exceptions, which the message shows.
int FileCause(int err)
{
    switch (err) {
    case ENOENT:
        return 2; // file not found
    case ENOTDIR:
    case ENAMETOOLONG:
        return 3; // bad path
    case EMFILE:
    case ENFILE:
        return 4; // too many open files
    case EACCES:
    case EPERM:
    case EROFS:
        return 5; // access denied
    case ENOSPC:
    case EDQUOT:
        return 13; // disk full
    case EIO:
        return 11; // hard I/O error
    default:
        return 1; // generic
    }
}

struct SplitError
{
    int cause;
};

} // namespace

CSplitUf::CSplitUf(const std::string& path, CFeedback* progress) : CSplitUf(path, Limits(), progress) {}

CSplitUf::CSplitUf(const std::string& path, const Limits& limits, CFeedback* progress) : m_strPath(path)
{
    uint64_t size = 0;
    if (limits.sizeOf) {
        size = limits.sizeOf(path);
    } else {
        std::error_code ec;
        size = std::filesystem::file_size(path, ec);
        if (ec)
            size = limits.threshold; // cannot measure: try, and let the split report the error
    }
    if (!IsLarge(size, limits.threshold))
        return;
    try {
        Split(limits, progress);
    } catch (const SplitError& e) {
        progress->Warning(Format("ERR(%d): Splitting universal file.\n%s", e.cause, path.c_str()));
        throw CUFImportAbort("splitting " + path);
    }
}

CSplitUf::~CSplitUf() = default;

std::string CSplitUf::PartPath(const std::string& path, int n)
{
    const std::filesystem::path p(path);
    std::string folder = p.parent_path().string();
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return Format("%s%s_%03d%s", folder.c_str(), p.stem().string().c_str(), n, p.extension().string().c_str());
}

void CSplitUf::Split(const Limits& limits, CFeedback* progress)
{
    CUFLineReader in;
    if (!in.Open(m_strPath))
        throw SplitError{FileCause(errno)};
    const uint64_t total = in.GetSize();
    progress->Begin(Format("Splitting %s...", m_strPath.c_str()), static_cast<int64_t>(total));

    std::unique_ptr<CAtomicFile> part;
    uint64_t partBytes = 0;
    uint64_t partLines = 0;
    bool inside = false;
    auto finish = [&] {
        if (!part)
            return;
        if (!part->Commit())
            throw SplitError{FileCause(errno)};
        m_lstParts.push_back(part->TargetPath());
        part.reset();
        progress->SetPos(static_cast<int64_t>(in.Tell()));
    };
    auto write = [&](std::string_view line) {
        if (!part) {
            part = std::make_unique<CAtomicFile>(PartPath(m_strPath, static_cast<int>(m_lstParts.size()) + 1));
            if (!part->Open())
                throw SplitError{FileCause(errno)};
            partBytes = 0;
            partLines = 0;
            inside = false;
        }
        if (!part->Write(line.data(), line.size()) || !part->Write("\n", 1))
            throw SplitError{FileCause(errno)};
        partBytes += line.size() + 1;
    };
    // After a line is written: a part ends at a dataset boundary once it holds enough lines.
    auto afterLine = [&](std::string_view line) {
        if (uf::StartsWithDelimiter(line))
            inside = !inside;
        const uint64_t before = partLines++;
        if (!inside && before >= limits.linesPerPart)
            finish();
    };

    std::string_view line;
    std::string opening;
    while (in.ReadLine(line)) {
        if (part && !inside && uf::StartsWithDelimiter(line)) {
            // A dataset begins: its header starts after this line and the dataset-number line. When
            // that position would not fit the index's 32-bit field, the dataset goes to a new part.
            opening.assign(line);
            std::string_view type;
            const bool haveType = in.ReadLine(type);
            const uint64_t header = partBytes + opening.size() + 1 + (haveType ? type.size() + 1 : 0);
            if (header > limits.maxPartBytes)
                finish();
            write(opening);
            afterLine(opening);
            if (!haveType)
                break;
            write(type);
            afterLine(type);
            continue;
        }
        write(line);
        afterLine(line);
    }
    if (in.LineTooLong())
        throw SplitError{1};
    finish();
    progress->End();
}
