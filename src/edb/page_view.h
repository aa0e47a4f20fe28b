#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "edb/edb_constants.h"

namespace velmor {

using PageBuffer = std::array<uint8_t, PAGE_SIZE>;

// The one bounded accessor for page, chunk and block bytes. Every reader takes a position and
// yields 0 (or an empty span) when any byte of the value would lie outside the buffer, so no
// value read from a damaged page can lead a scan outside it.
class PageView {
public:
    PageView() = default;
    PageView(const uint8_t* data, int64_t size) : data_(data), size_(size < 0 ? 0 : size) {}
    explicit PageView(std::span<const uint8_t> bytes)
        : PageView(bytes.data(), static_cast<int64_t>(bytes.size())) {}
    PageView(const PageBuffer& page) : PageView(page.data(), PAGE_SIZE) {}  // NOLINT: implicit

    int64_t size() const { return size_; }

    bool contains(int64_t pos, int64_t length) const {
        return pos >= 0 && length >= 0 && pos <= size_ && length <= size_ - pos;
    }

    uint8_t u8(int64_t pos) const { return contains(pos, 1) ? data_[pos] : 0; }
    uint16_t u16(int64_t pos) const { return load<uint16_t>(pos); }
    uint32_t u32(int64_t pos) const { return load<uint32_t>(pos); }
    int32_t i32(int64_t pos) const { return static_cast<int32_t>(load<uint32_t>(pos)); }
    uint64_t u64(int64_t pos) const { return load<uint64_t>(pos); }

    std::span<const uint8_t> bytes(int64_t pos, int64_t length) const {
        if (!contains(pos, length)) {
            return {};
        }
        return {data_ + pos, static_cast<size_t>(length)};
    }

    // True when the bytes at pos equal the pattern; false when they would run outside.
    template <size_t N>
    bool matches(int64_t pos, const std::array<uint8_t, N>& pattern) const {
        return contains(pos, N) && std::memcmp(data_ + pos, pattern.data(), N) == 0;
    }

    // Position of the first byte equal to value in [from, to), or -1.
    int64_t find(uint8_t value, int64_t from, int64_t to) const {
        if (from < 0) {
            from = 0;
        }
        if (to > size_) {
            to = size_;
        }
        if (from >= to) {
            return -1;
        }
        const void* hit = std::memchr(data_ + from, value, static_cast<size_t>(to - from));
        return hit ? static_cast<const uint8_t*>(hit) - data_ : -1;
    }

    // Position of the first byte in [from, to) that equals value and whose byte gap positions
    // further (inside the buffer) equals it too, or -1. Thirty-two or sixteen positions are
    // tested at once where the processor allows.
    int64_t findPair(uint8_t value, int64_t gap, int64_t from, int64_t to) const {
        if (from < 0) {
            from = 0;
        }
        if (gap < 0 || gap >= size_) {
            return -1;
        }
        if (to > size_ - gap) {
            to = size_ - gap;
        }
        int64_t i = from;
#if defined(__x86_64__) && defined(__GNUC__)
        if (kWideLanesAvailable) {
            const int64_t found = FindPairWide(data_, value, gap, i, to);
            if (found >= 0) {
                return found;
            }
            i += std::max<int64_t>(0, to - i) / kWideLanes * kWideLanes;
        }
#endif
#if defined(__SSE2__)
        const __m128i wanted = _mm_set1_epi8(static_cast<char>(value));
        for (; i + kLanes <= to; i += kLanes) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data_ + i));
            const __m128i second =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data_ + i + gap));
            const auto both = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(first, wanted), _mm_cmpeq_epi8(second, wanted))));
            if (both != 0) {
                return i + std::countr_zero(both);
            }
        }
#endif
        for (; i < to; ++i) {
            if (data_[i] == value && data_[i + gap] == value) {
                return i;
            }
        }
        return -1;
    }

private:
    static constexpr int64_t kLanes = 16;
    static constexpr int64_t kWideLanes = 32;

#if defined(__x86_64__) && defined(__GNUC__)
    static inline const bool kWideLanesAvailable = __builtin_cpu_supports("avx2");

    // findPair's positions [from, to) thirty-two at a time, as far as whole steps reach; -1
    // when none of them holds the pair.
    __attribute__((target("avx2"))) static int64_t FindPairWide(const uint8_t* data, uint8_t value,
                                                                int64_t gap, int64_t from,
                                                                int64_t to) {
        const __m256i wanted = _mm256_set1_epi8(static_cast<char>(value));
        for (int64_t i = from; i + kWideLanes <= to; i += kWideLanes) {
            const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
            const __m256i second =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + gap));
            const auto both = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(
                _mm256_cmpeq_epi8(first, wanted), _mm256_cmpeq_epi8(second, wanted))));
            if (both != 0) {
                return i + std::countr_zero(both);
            }
        }
        return -1;
    }
#endif

    // Values are little-endian on disk; the build targets little-endian machines only.
    template <typename T>
    T load(int64_t pos) const {
        T value = 0;
        if (contains(pos, sizeof(T))) {
            std::memcpy(&value, data_ + pos, sizeof(T));
        }
        return value;
    }

    const uint8_t* data_ = nullptr;
    int64_t size_ = 0;
};

static_assert(std::endian::native == std::endian::little, "page values are little-endian");

}  // namespace velmor
