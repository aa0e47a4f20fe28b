#include "streaming/base64_characters.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#define VELMOR_X86_VECTORS 1
#endif

namespace velmor {

namespace {

int64_t CountOneByOne(const char* data, int64_t count) {
    int64_t above = 0;
    for (int64_t i = 0; i < count; ++i) {
        above += static_cast<signed char>(data[i]) > ' ';
    }
    return above;
}

#if defined(VELMOR_X86_VECTORS)
// A byte counter holds up to 255: the counts are summed up once every this many vectors.
constexpr int64_t kVectorsPerSum = 255;

// Sixteen bytes at a time: a compare gives -1 for each byte counted, taken from per-byte
// counters, which are added up only every kVectorsPerSum vectors.
int64_t CountSse2(const char* data, int64_t count) {
    const __m128i blank = _mm_set1_epi8(' ');
    __m128i sums = _mm_setzero_si128();
    int64_t i = 0;
    while (i + 16 <= count) {
        const int64_t end = std::min(count & ~int64_t{15}, i + kVectorsPerSum * 16);
        __m128i counters = _mm_setzero_si128();
        for (; i < end; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
            counters = _mm_sub_epi8(counters, _mm_cmpgt_epi8(bytes, blank));
        }
        sums = _mm_add_epi64(sums, _mm_sad_epu8(counters, _mm_setzero_si128()));
    }
    return _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)) +
           CountOneByOne(data + i, count - i);
}

// The same, thirty-two bytes at a time, on processors that have AVX2.
__attribute__((target("avx2"))) int64_t CountAvx2(const char* data, int64_t count) {
    const __m256i blank = _mm256_set1_epi8(' ');
    __m256i sums = _mm256_setzero_si256();
    int64_t i = 0;
    while (i + 32 <= count) {
        const int64_t end = std::min(count & ~int64_t{31}, i + kVectorsPerSum * 32);
        __m256i counters = _mm256_setzero_si256();
        for (; i < end; i += 32) {
            const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
            counters = _mm256_sub_epi8(counters, _mm256_cmpgt_epi8(bytes, blank));
        }
        sums = _mm256_add_epi64(sums, _mm256_sad_epu8(counters, _mm256_setzero_si256()));
    }
    const __m128i half =
        _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
    return _mm_cvtsi128_si64(half) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(half, half)) +
           CountSse2(data + i, count - i);
}

#endif

}  // namespace

// Vectors at a time where the processor has them, as base64 parts are most of a message's
// bytes.
int64_t CountBase64Characters(const char* data, int64_t count) {
#if defined(VELMOR_X86_VECTORS)
    static const auto counter = __builtin_cpu_supports("avx2") ? CountAvx2 : CountSse2;
    return counter(data, count);
#else
    return CountOneByOne(data, count);
#endif
}

}  // namespace velmor
