// The stored-value text readers: DecodeStoredString, HexKey, the length-prefixed sender text
// and NonZeroBytesAsText, at the start and length the input names, with the store's 8-bit text
// in one of the code pages the program offers; and that code page's converter on the bytes.
#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"
#include "edb/stored_value.h"
#include "edb/windows_code_pages.h"
#include "fuzz_input.h"
#include "items/length_prefixed_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto pick = input.Take<uint8_t>();
    const auto start = input.Take<int32_t>();
    const auto length = input.Take<int32_t>();
    const int codePage = velmor::kStoreCodePages[pick % velmor::kStoreCodePages.size()];
    velmor::SetEightBitCodePage(codePage);
    const velmor::PageView bytes(input.rest());
    velmor::DecodeStoredString(bytes, start, length);
    velmor::HexKey(bytes, start, length);
    velmor::DecodeLengthPrefixedText(bytes, start, length);
    velmor::NonZeroBytesAsText(bytes.bytes(0, bytes.size()));
    velmor::CodePageToUtf16(input.rest(), codePage);
    return 0;
}
