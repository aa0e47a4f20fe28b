// The stored-value text readers: DecodeStoredString, HexKey, the length-prefixed sender text
// and NonZeroBytesAsText, at the start and length the input names.
#include "edb/stored_value.h"
#include "fuzz_input.h"
#include "items/length_prefixed_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto start = input.Take<int32_t>();
    const auto length = input.Take<int32_t>();
    const velmor::PageView bytes(input.rest());
    velmor::DecodeStoredString(bytes, start, length);
    velmor::HexKey(bytes, start, length);
    velmor::DecodeLengthPrefixedText(bytes, start, length);
    velmor::NonZeroBytesAsText(bytes.bytes(0, bytes.size()));
    return 0;
}
