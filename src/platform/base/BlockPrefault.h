#pragma once
// Faults the pages of a freshly mapped block in on a few helper threads while the block waits for
// its writer, without reading or writing what the block holds. Where page faults are expensive (a
// virtual machine whose host backs each fresh page on first touch), clearing and mapping fresh
// pages is most of what a first store of hundreds of megabytes costs; a block mapped for a run
// that lasts seconds or minutes can take that cost while the run goes on, and its writer then
// finds its pages ready.
//
// The helpers go through the ranges in the order the writer fills them, a stretch at a time.
// When the writer begins, the helpers are asked to stop: beside a writer they only contend with
// it for the same kernel work (what they have not reached, the writer faults itself, as without
// them).
// Populating never changes the block's contents. On a kernel without the populating advice (before
// Linux 5.14) no helper starts and the writer faults every page, as before.
#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>
#include <vector>

class CBlockPrefault
{
public:
    struct Range
    {
        void* data = nullptr;
        size_t bytes = 0;
    };

    CBlockPrefault() = default;
    ~CBlockPrefault(); // stops and joins the helpers
    CBlockPrefault(const CBlockPrefault&) = delete;
    CBlockPrefault& operator=(const CBlockPrefault&) = delete;

    // Starts helpers threads over ranges (parts of mappings, in the order the writer fills
    // them); an earlier start is stopped first. No helper starts for helpers <= 0, for empty
    // ranges, or where the kernel cannot populate.
    void Start(const std::vector<Range>& ranges, int helpers);
    // Asks the helpers to end after the stretch each is populating, without waiting for them.
    void RequestStop();
    // Asks the helpers to end after the stretch each is populating and waits for them.
    void Stop();
    bool IsRunning() const { return !m_threads.empty(); }
    // Bytes the helpers populated since the last start (whole stretches).
    size_t PopulatedBytes() const;
    // Helper threads started and not yet joined, in the whole process.
    static int LiveHelpers();

    // The helpers a run block gets (0: none); the program's default is kDefaultHelpers.
    static void SetHelpersPerBlock(int helpers);
    static int HelpersPerBlock();
    static constexpr int kDefaultHelpers = 1;
    // A helper populates this much at a time, on 2 MB boundaries, and looks for a stop in between.
    static constexpr size_t kStretchBytes = size_t{2} << 20;

private:
    struct Stretch
    {
        char* begin;
        size_t bytes;
    };
    struct Shared
    {
        std::vector<Stretch> stretches;
        std::atomic<size_t> next{0}; // stretches claimed
        std::atomic<size_t> populated{0};
        std::atomic<bool> stop{false};
    };
    static void Help(Shared& shared);

    std::unique_ptr<Shared> m_shared;
    std::vector<std::thread> m_threads;
};
