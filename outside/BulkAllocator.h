#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <utility>

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
        constexpr std::size_t kHugeFrom = std::size_t(8) << 20;
        constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
        const std::size_t bytes = n * sizeof(T);
        if (bytes >= kHugeFrom) {
            // Advise the whole huge pages inside the block.
            const auto begin = (reinterpret_cast<std::uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
            const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(kHugePage - 1);
            if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
        }
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
