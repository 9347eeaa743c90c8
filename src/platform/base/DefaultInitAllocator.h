#pragma once
// An allocator whose containers leave new elements of trivial types uninitialised when no value
// is given (resize(n) without a value). Large sample arrays that are filled straight from a file
// would otherwise be cleared first, a pass over all their memory for nothing.
#include <memory>
#include <type_traits>
#include <utility>

template <typename T, typename Base = std::allocator<T>>
class CDefaultInitAllocator : public Base
{
    using Traits = std::allocator_traits<Base>;

public:
    template <typename U>
    struct rebind
    {
        using other = CDefaultInitAllocator<U, typename Traits::template rebind_alloc<U>>;
    };

    using Base::Base;
    CDefaultInitAllocator() = default;

    template <typename U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        Traits::construct(static_cast<Base&>(*this), p, std::forward<Args>(args)...);
    }
};
