#include "platform/base/ZeroedBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

// Small blocks from the heap and large ones mapped on a 2 MB boundary: every byte reads zero, the
// whole length can be written, and a block handed on leaves the one it came from empty.
TEST(ZeroedBlock, IsZeroedWritableAndMovable)
{
    for (size_t bytes : {size_t{0}, size_t{1}, size_t{4096}, CZeroedBlock::kMapBytes - 1, CZeroedBlock::kMapBytes,
                         CZeroedBlock::kMapBytes + 12345}) {
        CZeroedBlock block(bytes);
        ASSERT_NE(block.data(), nullptr) << bytes;
        EXPECT_EQ(block.size(), bytes);
        EXPECT_EQ(block.IsMapped(), bytes >= CZeroedBlock::kMapBytes) << bytes;
        if (block.IsMapped()) {
            EXPECT_EQ(reinterpret_cast<uintptr_t>(block.data()) % (uintptr_t{2} << 20), 0u) << bytes;
        }
        const auto* p = static_cast<const unsigned char*>(block.data());
        size_t nonZero = 0;
        for (size_t i = 0; i < bytes; ++i)
            nonZero += p[i] != 0;
        EXPECT_EQ(nonZero, 0u) << bytes;
        std::memset(block.data(), 0x5a, bytes);

        CZeroedBlock moved(std::move(block));
        EXPECT_EQ(block.data(), nullptr);
        EXPECT_EQ(block.size(), 0u);
        EXPECT_EQ(moved.size(), bytes);
        CZeroedBlock assigned(64);
        assigned = std::move(moved);
        EXPECT_EQ(moved.data(), nullptr);
        EXPECT_EQ(assigned.size(), bytes);
        if (bytes) {
            EXPECT_EQ(static_cast<const unsigned char*>(assigned.data())[bytes - 1], 0x5a);
        }
    }
}

TEST(ZeroedBlock, RefusesWhatCannotBeHad)
{
    EXPECT_THROW(CZeroedBlock(SIZE_MAX), std::bad_alloc);
    EXPECT_THROW(CZeroedBlock(SIZE_MAX / 2), std::bad_alloc);
}
