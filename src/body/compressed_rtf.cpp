#include "body/compressed_rtf.h"

#include <algorithm>
#include <array>

#include "edb/page_view.h"

namespace velmor {

namespace {

constexpr int64_t kCompressedSizeOffset = 0;
constexpr int64_t kRawSizeOffset = 4;
constexpr int64_t kTypeOffset = 8;
constexpr int64_t kCrcOffset = 12;
// The compressed size counts the header bytes after its own field.
constexpr uint32_t kHeaderAfterSizeField = 12;
// A raw size beyond this is taken as damage; bodies are far smaller.
constexpr uint32_t kMostRawSize = 64u << 20;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

uint32_t CompressedRtfCrc(std::span<const uint8_t> bytes) {
    uint32_t crc = 0;
    for (uint8_t byte : bytes) {
        crc = kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

DecompressedRtf DecompressRtf(std::span<const uint8_t> stored) {
    DecompressedRtf result;
    const PageView view(stored);
    if (!view.contains(0, kCompressedRtfHeaderSize)) {
        return result;
    }
    const uint32_t type = view.u32(kTypeOffset);
    const uint32_t rawSize = std::min(view.u32(kRawSizeOffset), kMostRawSize);
    // The contents end where the compressed size says, or at the end of what is stored.
    const uint64_t declaredEnd = uint64_t{view.u32(kCompressedSizeOffset)} + 4;
    const size_t end = static_cast<size_t>(std::min<uint64_t>(
        std::max<uint64_t>(declaredEnd, kCompressedRtfHeaderSize), stored.size()));
    const auto contents = stored.subspan(kCompressedRtfHeaderSize, end - kCompressedRtfHeaderSize);
    result.complete =
        declaredEnd <= stored.size() && view.u32(kCompressedSizeOffset) >= kHeaderAfterSizeField;

    if (type == kCompressedRtfMela) {
        result.known = true;
        const size_t count = std::min<size_t>(contents.size(), rawSize);
        result.rtf.assign(contents.begin(), contents.begin() + static_cast<std::ptrdiff_t>(count));
        result.complete = result.complete && count == rawSize;
        return result;
    }
    if (type != kCompressedRtfLzfu) {
        return result;
    }
    result.known = true;
    result.crcMatches = CompressedRtfCrc(contents) == view.u32(kCrcOffset);

    std::array<uint8_t, kCompressedRtfDictionarySize> dictionary{};
    std::copy(kCompressedRtfPrefix.begin(), kCompressedRtfPrefix.end(), dictionary.begin());
    size_t write = kCompressedRtfPrefix.size();
    result.rtf.reserve(rawSize);
    size_t in = 0;
    bool ended = false;
    auto emit = [&](uint8_t byte) {
        result.rtf.push_back(static_cast<char>(byte));
        dictionary[write] = byte;
        write = (write + 1) % kCompressedRtfDictionarySize;
    };
    while (!ended && in < contents.size() && result.rtf.size() < rawSize) {
        const uint8_t control = contents[in++];
        for (int bit = 0; bit < 8 && !ended; ++bit) {
            if (in >= contents.size()) {
                ended = true;
                result.complete = false;
                break;
            }
            if ((control & (1 << bit)) == 0) {
                emit(contents[in++]);
                continue;
            }
            if (in + 1 >= contents.size()) {
                ended = true;
                result.complete = false;
                break;
            }
            const uint16_t reference =
                static_cast<uint16_t>((contents[in] << 8) | contents[in + 1]);
            in += 2;
            const size_t offset = reference >> 4;
            const size_t length = (reference & 0x0F) + 2;
            if (offset == write) {
                ended = true;
                break;
            }
            for (size_t i = 0; i < length && result.rtf.size() < rawSize; ++i) {
                emit(dictionary[(offset + i) % kCompressedRtfDictionarySize]);
            }
        }
    }
    result.complete = result.complete && result.rtf.size() == rawSize;
    return result;
}

}  // namespace velmor
