#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <utility>

// Offers huge pages for the whole 2 MiB pages inside a block of `bytes` at `p`
// when the block is 8 MiB or more: filling it then costs a few page faults instead
// of one per 4 KiB. Only a hint; where the system ignores it nothing changes. For
// a block not yet written (a fresh allocation, a vector's reserved room).
inline void AdviseHugePages(void* p, std::size_t bytes)
{
    constexpr std::size_t kHugeFrom = std::size_t(8) << 20;
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    if (p == nullptr || bytes < kHugeFrom)
        return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(kHugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// Allocator of the large point arrays. Two differences from std::allocator:
// - an element made without arguments is default-initialised, so resize() of
//   plain records leaves them to be written by the caller (one pass over the
//   memory instead of zeroing it first);
// - a block of 8 MiB or more is offered huge pages, so filling hundreds of
//   megabytes costs a few hundred page faults instead of tens of thousands. The
//   advice is only a hint; where the system ignores it nothing changes.
template <class T>
class BulkAllocator : public std::allocator<T> {
public:
    using value_type = T;
    template <class U>
    struct rebind {
        using other = BulkAllocator<U>;
    };

    BulkAllocator() noexcept = default;
    template <class U>
    BulkAllocator(const BulkAllocator<U>&) noexcept {}

    T* allocate(std::size_t n)
    {
        T* p = std::allocator<T>::allocate(n);
        AdviseHugePages(p, n * sizeof(T));
        return p;
    }

    template <class U>
    void construct(U* p) noexcept(noexcept(::new (static_cast<void*>(p)) U))
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <class U>
    bool operator==(const BulkAllocator<U>&) const noexcept
    {
        return true;
    }
};
