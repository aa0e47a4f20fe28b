#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace velmor::fuzz {

// Takes control values off the front of a fuzz input; what is left is the data to read.
// A value that the input is too short for reads as 0.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : rest_(data, size) {}

    template <typename T>
    T Take() {
        T value{};
        const size_t n = rest_.size() < sizeof(T) ? rest_.size() : sizeof(T);
        if (n > 0) {
            std::memcpy(&value, rest_.data(), n);
        }
        rest_ = rest_.subspan(n);
        return value;
    }

    std::span<const uint8_t> rest() const { return rest_; }

private:
    std::span<const uint8_t> rest_;
};

}  // namespace velmor::fuzz
