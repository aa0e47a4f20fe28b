#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velmor {

// The Windows code page that the 8-bit texts were most likely written in, found by uchardet
// over all of them together; Windows-1252 when nothing else is likely or the likely one reads
// every text as Windows-1252 does.
int DetectCodePage(std::span<const std::vector<uint8_t>> texts);

}  // namespace velmor
