#pragma once
// An allocator for arrays of measured samples. Memory that a block of a huge page (2 MB) or more
// brings into the process is advised for huge pages: a block from fresh memory (a project opened
// in a new process, or one larger than the freed memory the heap keeps) then costs one page fault
// per 2 MB instead of one per 4 KB, which on machines where faults are expensive (virtual
// machines) dominates the opening of a large project. The blocks still come from the heap, so
// freed ones stay there for reuse by the next project opened. Smaller blocks are plain.
#include <cstddef>
#include <cstdint>
#include <memory>

// Advises the whole huge pages from block to the end of the memory it lies in (the heap's end, or
// the end of the block where the heap mapped it apart) for huge pages. Pages already touched stay
// as they are; memory the heap hands out later from the advised range takes huge pages.
void AdviseHugePages(void* block, std::size_t bytes);

template <typename T>
class CHugePageAllocator : public std::allocator<T>
{
public:
    static constexpr std::size_t kHugePage = std::size_t{2} << 20;

    template <typename U>
    struct rebind
    {
        using other = CHugePageAllocator<U>;
    };

    CHugePageAllocator() = default;
    template <typename U>
    CHugePageAllocator(const CHugePageAllocator<U>&) noexcept
    {}

    T* allocate(std::size_t n)
    {
        T* p = std::allocator<T>::allocate(n);
        if (n >= kHugePage / sizeof(T))
            AdviseHugePages(p, n * sizeof(T));
        return p;
    }

    template <typename U>
    bool operator==(const CHugePageAllocator<U>&) const noexcept
    {
        return true;
    }
};
