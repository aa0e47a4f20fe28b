#pragma once

#include <cstddef>
#include <cstdint>

namespace velmor::pst {

// The file's 32-bit CRC: the reflected polynomial 0xEDB88320, started at 0 and not inverted.
uint32_t Crc(const uint8_t* data, size_t size);

// The signature of a block or B-tree page, from its file offset and BID.
uint16_t Signature(uint64_t offset, uint64_t bid);

}  // namespace velmor::pst
