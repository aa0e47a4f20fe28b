#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace velmor {

// Allocates large arrays aligned to, and asked to be backed by, 2 MiB pages: a hash table
// probed at random over tens of megabytes then costs a few address translations instead of
// one per 4 KiB page. Smaller arrays come from the heap as usual.
template <typename T>
class HugePageAllocator {
public:
    using value_type = T;

    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U>&) {}  // NOLINT: converting, as allocators are

    T* allocate(size_t count) {
        const size_t bytes = count * sizeof(T);
        if (bytes < kHugePage) {
            return static_cast<T*>(::operator new(bytes));
        }
        const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* memory = std::aligned_alloc(kHugePage, rounded);
        if (memory == nullptr) {
            throw std::bad_alloc();
        }
        ::madvise(memory, rounded, MADV_HUGEPAGE);  // a hint: without it, 4 KiB pages serve
        return static_cast<T*>(memory);
    }

    void deallocate(T* memory, size_t count) {
        if (count * sizeof(T) < kHugePage) {
            ::operator delete(memory);
        } else {
            std::free(memory);
        }
    }

    template <typename U>
    bool operator==(const HugePageAllocator<U>&) const {
        return true;
    }

private:
    static constexpr size_t kHugePage = size_t{2} << 20;
};

}  // namespace velmor
