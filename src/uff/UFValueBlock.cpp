#include "uff/UFValueBlock.h"

#include <cstdint>
#include <new>

std::shared_ptr<CUFValueBlock> CUFValueBlock::Make(size_t count)
{
    if (count > SIZE_MAX / sizeof(double) / 2)
        throw std::bad_alloc();
    CZeroedBlock block(count * sizeof(double));
    return std::shared_ptr<CUFValueBlock>(new CUFValueBlock(std::move(block), count));
}
