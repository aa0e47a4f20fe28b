#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velmor::testdb {

// RTF in the stored form of a mail's RTF body: "LZFu" runs against the 4096-byte dictionary
// that starts with the fixed RTF prefix, with a CRC of the compressed bytes.
std::vector<uint8_t> CompressRtf(std::string_view rtf);

// The same without compression ("MELA"), whose CRC is 0.
std::vector<uint8_t> StoreRtfUncompressed(std::string_view rtf);

}  // namespace velmor::testdb
