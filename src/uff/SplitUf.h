#pragma once
// Cuts a very large universal file into numbered part files beside it ("run.unv" into
// "run_001.unv", "run_002.unv", ...), each holding whole datasets, so every part is a universal
// file of its own and every dataset's position in its part fits the index's 32-bit field. The
// source file stays as it is; the parts stay on disk.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"

// Raised when the user or an error abandons the import; its callers return to the import dialog
// without a further message.
class CUFImportAbort : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class CSplitUf
{
public:
    static constexpr uint64_t kThreshold = 2000000000;

    struct Limits
    {
        // Files of this size or more are split.
        uint64_t threshold = kThreshold;
        // A part ends at the first dataset boundary after this many lines.
        uint64_t linesPerPart = 25000000;
        // A part also ends at a dataset boundary before a dataset would begin this far into it.
        uint64_t maxPartBytes = 2147483647;
        // The size of the file; the file system's when not given (tests give sizes no disk holds).
        std::function<uint64_t(const std::string&)> sizeOf;
    };

    // Checks the size and splits at once, with its own range of progress on the feedback (begun and
    // ended here). A file error is reported to it as a warning ("ERR(%d): Splitting universal
    // file.\n%s") and raises CUFImportAbort; parts made before it stay on disk.
    explicit CSplitUf(const std::string& path, CFeedback* progress = SilentFeedback());
    CSplitUf(const std::string& path, const Limits& limits, CFeedback* progress = SilentFeedback());
    virtual ~CSplitUf();

    const std::string& GetPath() const { return m_strPath; }
    // The part files in order; empty when the file was not split.
    const std::vector<std::string>& GetParts() const { return m_lstParts; }

    static bool IsLarge(uint64_t size, uint64_t threshold = kThreshold) { return size >= threshold; }
    // Path of part n (from 1): "%s%s_%03d%s" of folder, base name, n and extension.
    static std::string PartPath(const std::string& path, int n);

private:
    void Split(const Limits& limits, CFeedback* progress);

    std::string m_strPath;
    std::vector<std::string> m_lstParts;
};
