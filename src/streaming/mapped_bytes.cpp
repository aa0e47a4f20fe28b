#include "streaming/mapped_bytes.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <utility>

namespace velmor {

namespace {

size_t WholePages(size_t bytes) {
    static const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

}  // namespace

MappedBytes::MappedBytes(size_t bytes) : size_(bytes), mapped_(WholePages(bytes)) {
    if (mapped_ == 0) {
        return;
    }
    void* mapping =
        ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
        throw std::bad_alloc();
    }
    data_ = static_cast<uint8_t*>(mapping);
}

MappedBytes::~MappedBytes() {
    if (data_ != nullptr) {
        ::munmap(data_, mapped_);
    }
}

void MappedBytes::Populate(size_t bytes) {
    if (data_ != nullptr) {
        ::madvise(data_, std::min(WholePages(bytes), mapped_), MADV_POPULATE_WRITE);
    }
}

void MappedBytes::Swap(MappedBytes& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(mapped_, other.mapped_);
}

void MappedBytes::Resize(size_t bytes) {
    const size_t mapped = WholePages(bytes);
    if (data_ == nullptr || mapped == 0) {
        MappedBytes fresh(bytes);
        Swap(fresh);
        return;
    }
    if (mapped != mapped_) {
        void* mapping = ::mremap(data_, mapped_, mapped, MREMAP_MAYMOVE);
        if (mapping == MAP_FAILED) {
            throw std::bad_alloc();
        }
        data_ = static_cast<uint8_t*>(mapping);
        mapped_ = mapped;
    }
    size_ = bytes;
}

}  // namespace velmor
