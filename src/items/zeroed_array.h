#pragma once

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmor {

// An array of plain values that starts as all zero bytes without a pass that writes them: its
// memory is mapped fresh from the system, whose pages read as zero until first written. A
// large hash table so costs no set-up pass over it, and pages never written cost no memory.
// Arrays of 2 MiB and more are aligned to, and asked to be backed by, 2 MiB pages: probed at
// random over tens of megabytes they then cost a few address translations instead of one per
// 4 KiB page.
template <typename T>
class ZeroedArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    ZeroedArray() = default;
    explicit ZeroedArray(size_t count) : count_(count) {
        const size_t bytes = count * sizeof(T);
        const bool huge = bytes >= kHugePage;
        mappedBytes_ = huge ? RoundUp(bytes, kHugePage) + kHugePage : RoundUp(bytes, kSmallPage);
        if (mappedBytes_ == 0) {
            return;
        }
        mapping_ = ::mmap(nullptr, mappedBytes_, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapping_ == MAP_FAILED) {
            mapping_ = nullptr;
            throw std::bad_alloc();
        }
        auto start = reinterpret_cast<uintptr_t>(mapping_);
        if (huge) {
            start = RoundUp(start, kHugePage);
            // A hint: without it, 4 KiB pages serve.
            ::madvise(reinterpret_cast<void*>(start), RoundUp(bytes, kHugePage), MADV_HUGEPAGE);
        }
        data_ = reinterpret_cast<T*>(start);
    }
    ZeroedArray(ZeroedArray&& other) noexcept { Swap(other); }
    ZeroedArray& operator=(ZeroedArray&& other) noexcept {
        ZeroedArray(std::move(other)).Swap(*this);
        return *this;
    }
    ZeroedArray(const ZeroedArray&) = delete;
    ZeroedArray& operator=(const ZeroedArray&) = delete;
    ~ZeroedArray() {
        if (mapping_ != nullptr) {
            ::munmap(mapping_, mappedBytes_);
        }
    }

    // Takes the memory of elements [first, first + count) from the system now rather than at
    // their first write. A hint: where the system cannot, the writes take it.
    void Populate(size_t first, size_t count) {
        if (data_ == nullptr || first >= count_) {
            return;
        }
        const auto start = reinterpret_cast<uintptr_t>(data_ + first) / kSmallPage * kSmallPage;
        const auto end =
            reinterpret_cast<uintptr_t>(data_ + std::min(count, count_ - first) + first);
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
    }

    T& operator[](size_t index) { return data_[index]; }
    const T& operator[](size_t index) const { return data_[index]; }
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // The memory it holds, outside the heap, that the system has backed: pages never written
    // cost nothing.
    size_t residentBytes() const {
        if (mapping_ == nullptr) {
            return 0;
        }
        std::vector<unsigned char> resident(mappedBytes_ / kSmallPage);
        if (::mincore(mapping_, mappedBytes_, resident.data()) != 0) {
            return mappedBytes_;
        }
        return kSmallPage * static_cast<size_t>(
                                std::count_if(resident.begin(), resident.end(),
                                              [](unsigned char page) { return (page & 1) != 0; }));
    }

private:
    static constexpr size_t kSmallPage = 4096;
    static constexpr size_t kHugePage = size_t{2} << 20;

    static constexpr size_t RoundUp(size_t value, size_t unit) {
        return (value + unit - 1) / unit * unit;
    }
    void Swap(ZeroedArray& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(count_, other.count_);
        std::swap(mapping_, other.mapping_);
        std::swap(mappedBytes_, other.mappedBytes_);
    }

    T* data_ = nullptr;
    size_t count_ = 0;
    void* mapping_ = nullptr;
    size_t mappedBytes_ = 0;
};

}  // namespace velmor
