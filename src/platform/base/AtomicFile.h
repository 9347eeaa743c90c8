#pragma once
// Writes a file so that it is never lost or half-written: the data go to a temporary file in the
// target's folder, which replaces the target by rename only after everything was written and
// flushed. Until Commit succeeds the previous file stays as it was.
#include <cstdio>
#include <string>

class CAtomicFile
{
public:
    explicit CAtomicFile(std::string targetPath);
    ~CAtomicFile(); // discards the temporary file unless committed
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Creates the temporary file. False (and ErrorText) when the folder is not writable or the
    // target is a read-only file. A target that is a symbolic link is written where it points.
    // Temporary files that an earlier write of the same target left (killed part way) are removed.
    bool Open();
    bool IsOpen() const { return m_file != nullptr; }
    std::FILE* Handle() const { return m_file; }
    // A long file is handed to the disk while it is written, a stretch of kStreamBytes at a time,
    // and the pages of each stretch on the disk are given back: a save of any size holds only a
    // few stretches of the file's pages, takes no more fresh memory per byte than a small one, and
    // Commit waits only for the last stretches.
    bool Write(const void* data, size_t size);
    static constexpr size_t kStreamBytes = size_t(16) << 20;
    // Stretches end on multiples of this (whole pages on every page size the program runs on).
    static constexpr size_t kStreamAlign = size_t(1) << 20;
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    // Flushes, syncs and renames over the target. False leaves the target untouched.
    bool Commit();
    void Discard();

    const std::string& TargetPath() const { return m_target; }
    const std::string& ErrorText() const { return m_error; }

    // The file a write of path replaces: path, or where the symbolic link path points.
    static std::string ResolveTarget(const std::string& path);
    // Removes temporary files of our naming left beside the target; the number removed.
    static int RemoveStaleTemporaries(const std::string& targetPath);

    // Whole-file convenience: writes data to path atomically.
    static bool WriteFile(const std::string& path, const std::string& data, std::string* error = nullptr);

private:
    std::string m_target;
    std::string m_temp;
    std::string m_error;
    void StreamOut();

    std::FILE* m_file = nullptr;
    bool m_failed = false;
    bool m_streaming = true;
    // Bytes written; those handed to the disk; those on the disk whose pages were given back.
    size_t m_written = 0, m_handed = 0, m_released = 0;
};
