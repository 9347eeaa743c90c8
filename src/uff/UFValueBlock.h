#pragma once
// Zeroed memory for the values of a read, shared by the datasets whose values lie in it and freed
// when the last of them lets go. A large block is taken from the system in 2 MB pages: a read of
// many datasets then costs a page fault per 2 MB instead of one per 4 KB, which is most of what
// storing tens of megabytes of fresh values costs.
#include <cstddef>
#include <memory>
#include <utility>

#include "platform/base/ZeroedBlock.h"

class CUFValueBlock
{
public:
    // count doubles, all 0.0; throws std::bad_alloc when the memory cannot be had.
    static std::shared_ptr<CUFValueBlock> Make(size_t count);
    CUFValueBlock(const CUFValueBlock&) = delete;
    CUFValueBlock& operator=(const CUFValueBlock&) = delete;

    double* data() const { return static_cast<double*>(m_block.data()); }
    size_t size() const { return m_count; }

private:
    CUFValueBlock(CZeroedBlock block, size_t count) : m_block(std::move(block)), m_count(count) {}

    CZeroedBlock m_block;
    size_t m_count;
};
