#pragma once
// How much memory one piece of data may take: readers check the size a file implies against it
// before they allocate, so an absurd file is refused with a message instead of ending the program.
#include <cstdint>

class CMemoryBudget
{
public:
    // The memory this process can have: the physical memory, or less when the process is limited
    // (address space or data size).
    static uint64_t AvailableBytes();
    // Makes the process count as having at most bytes (0: only what the system says), as a smaller
    // computer would; the tests of the size checks use it instead of a real limit.
    static void SetLimit(uint64_t bytes);
    // True when bytes leave room for the copies the program makes of the data (a quarter of what
    // is available).
    static bool Fits(uint64_t bytes);
    // Product of the factors in bytes, saturated at the largest value (no wrap).
    static uint64_t Product(uint64_t a, uint64_t b, uint64_t c = 1, uint64_t d = 1);
};
