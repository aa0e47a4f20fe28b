// The compressed-RTF decompressor over any stored bytes.
#include "body/compressed_rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::DecompressRtf(std::span<const uint8_t>(data, size));
    return 0;
}
