#pragma once

#include <cstdint>

#include "export/pst/pst_bytes.h"

namespace velmor::pst {

// A 512-byte page: its 496 bytes of data (shorter data is padded with zeros) and the trailer
// with the type, the signature, the CRC of the data and the BID.
Bytes MakePage(Bytes data, uint8_t type, uint16_t signature, uint64_t bid);

}  // namespace velmor::pst
