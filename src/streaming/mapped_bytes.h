#pragma once

#include <cstddef>
#include <cstdint>

namespace velmor {

// Bytes mapped fresh from the system, page-aligned, that grow and shrink in place of their
// pages: the system moves the pages rather than their contents, so that a buffer grown from
// 24 to 36 MiB costs no copy and never holds both sizes at once, and shrinking gives the pages
// back. Pages never written cost no memory.
class MappedBytes {
public:
    explicit MappedBytes(size_t bytes);
    ~MappedBytes();
    MappedBytes(const MappedBytes&) = delete;
    MappedBytes& operator=(const MappedBytes&) = delete;

    // Keeps the first min(size(), bytes) bytes; the address may change. Throws std::bad_alloc
    // when the system has no room.
    void Resize(size_t bytes);
    // Takes the memory of the first bytes from the system now, in one call, rather than a
    // page at a time at their first write, which costs many times more. A hint: where the
    // system cannot, the writes take it.
    void Populate(size_t bytes);
    void Swap(MappedBytes& other) noexcept;
    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;    // asked for
    size_t mapped_ = 0;  // size_ rounded up to whole pages
};

}  // namespace velmor
