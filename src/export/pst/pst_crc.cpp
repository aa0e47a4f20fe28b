#include "export/pst/pst_crc.h"

#include <array>

namespace velmor::pst {

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320;

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < table.size(); ++i) {
        uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1) != 0 ? (value >> 1) ^ kPolynomial : value >> 1;
        }
        table[i] = value;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

}  // namespace

uint32_t Crc(const uint8_t* data, size_t size) {
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        crc = kTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

uint16_t Signature(uint64_t offset, uint64_t bid) {
    const uint64_t mixed = offset ^ bid;
    return static_cast<uint16_t>(static_cast<uint16_t>(mixed >> 16) ^ static_cast<uint16_t>(mixed));
}

}  // namespace velmor::pst
