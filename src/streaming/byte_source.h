#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

namespace velmor {

// Bytes the carver reads in one forward pass: a file, a buffer, or bytes made on demand.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual int64_t size() const = 0;
    // Up to buffer.size() bytes at offset; the count read, -1 when they cannot be read.
    virtual int64_t Read(int64_t offset, std::span<uint8_t> buffer) = 0;
};

// Bytes already in memory (tests, the fuzzer).
class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    int64_t size() const override { return static_cast<int64_t>(bytes_.size()); }
    int64_t Read(int64_t offset, std::span<uint8_t> buffer) override {
        if (offset < 0 || offset > size()) {
            return -1;
        }
        const auto count = std::min<int64_t>(static_cast<int64_t>(buffer.size()), size() - offset);
        if (count > 0) {
            std::memcpy(buffer.data(), bytes_.data() + offset, static_cast<size_t>(count));
        }
        return count;
    }

private:
    std::span<const uint8_t> bytes_;
};

}  // namespace velmor
