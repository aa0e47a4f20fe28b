#include "streaming/base64_characters.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmor {

// Sixteen at a time where the processor allows, as base64 parts are most of a message's bytes.
int64_t CountBase64Characters(const char* data, int64_t count) {
    int64_t above = 0;
    int64_t i = 0;
#if defined(__SSE2__)
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i one = _mm_set1_epi8(1);
    __m128i sums = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i ones = _mm_and_si128(_mm_cmpgt_epi8(bytes, blank), one);
        sums = _mm_add_epi64(sums, _mm_sad_epu8(ones, _mm_setzero_si128()));
    }
    above += _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
#endif
    for (; i < count; ++i) {
        above += static_cast<signed char>(data[i]) > ' ';
    }
    return above;
}

}  // namespace velmor
