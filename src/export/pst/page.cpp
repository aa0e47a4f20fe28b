#include "export/pst/page.h"

#include "export/pst/pst_crc.h"
#include "export/pst/pst_layout.h"

namespace velmor::pst {

Bytes MakePage(Bytes data, uint8_t type, uint16_t signature, uint64_t bid) {
    data.resize(kPageDataSize, 0);
    const uint32_t crc = Crc(data.data(), data.size());
    Put8(data, type);
    Put8(data, type);
    Put16(data, signature);
    Put32(data, crc);
    Put64(data, bid);
    return data;
}

}  // namespace velmor::pst
