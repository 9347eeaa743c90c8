#pragma once
// Zeroed memory for large arrays of samples or values. A large block is taken from the system on
// a 2 MB boundary with the advice to fill it with 2 MB pages: storing hundreds of megabytes of
// fresh samples then costs a page fault per 2 MB instead of one per 4 KB, which on a machine whose
// faults are expensive is most of the time such a store takes. The kernel hands the pages out
// zeroed, so the block needs no clearing pass of its own. Small blocks come from the heap.
#include <cstddef>

class CZeroedBlock
{
public:
    CZeroedBlock() = default;
    // bytes zeroed bytes (at least one is taken); throws std::bad_alloc when they cannot be had.
    explicit CZeroedBlock(size_t bytes);
    ~CZeroedBlock();
    CZeroedBlock(CZeroedBlock&& other) noexcept;
    CZeroedBlock& operator=(CZeroedBlock&& other) noexcept;
    CZeroedBlock(const CZeroedBlock&) = delete;
    CZeroedBlock& operator=(const CZeroedBlock&) = delete;

    void* data() const { return m_data; }
    size_t size() const { return m_bytes; }
    // Whether the block is mapped from the system (and so may lie in 2 MB pages).
    bool IsMapped() const { return m_mappedBytes != 0; }

    // From this size on a block is mapped from the system.
    static constexpr size_t kMapBytes = size_t{4} << 20;

private:
    void Release() noexcept;

    void* m_data = nullptr;
    size_t m_bytes = 0;
    size_t m_mappedBytes = 0; // 0: from the heap
};
