#include "edb/long_value_assembly.h"

#include <algorithm>

namespace velmor {

namespace {

// First byte of a chunk that a newer engine stored compressed.
constexpr uint8_t kCompressedChunkMarker = 0x18;

// The chunks by offset; of equal offsets only the copy from the newest page.
std::vector<LongValueChunk> ChunksInValueOrder(const std::vector<LongValueChunk>& found) {
    std::vector<LongValueChunk> chunks = found;
    std::sort(chunks.begin(), chunks.end(), [](const LongValueChunk& a, const LongValueChunk& b) {
        return a.offset != b.offset ? a.offset < b.offset : a.pageTime > b.pageTime;
    });
    chunks.erase(std::unique(chunks.begin(), chunks.end(),
                             [](const LongValueChunk& a, const LongValueChunk& b) {
                                 return a.offset == b.offset;
                             }),
                 chunks.end());
    return chunks;
}

}  // namespace

std::optional<LongValue> AssembleLongValue(const LongValueIndex& index, uint32_t id,
                                           const ChunkReader& read) {
    const LongValueEntry* entry = index.Find(id);
    if (entry == nullptr) {
        return std::nullopt;
    }
    const std::vector<LongValueChunk> chunks = ChunksInValueOrder(entry->chunks);
    LongValue value;
    value.hasRoot = entry->root.has_value();
    if (entry->root) {
        value.declaredSize = entry->root->totalSize;
    } else {
        for (const LongValueChunk& chunk : chunks) {
            value.declaredSize =
                std::max<uint64_t>(value.declaredSize, uint64_t{chunk.offset} + chunk.length);
        }
    }
    value.capped = value.declaredSize > kLongValueSizeCap;
    const uint64_t limit = std::min(value.declaredSize, kLongValueSizeCap);

    std::vector<uint8_t> stored;
    uint64_t coveredEnd = 0;
    uint64_t covered = 0;
    for (size_t i = 0; i < chunks.size() && chunks[i].offset < limit; ++i) {
        const LongValueChunk& chunk = chunks[i];
        stored.resize(chunk.length);
        if (!read(chunk.fileOffset, stored)) {
            continue;
        }
        // A newer engine compresses a value's first chunk and marks it; the marked chunk is
        // shorter than the bytes it stands for.
        const uint64_t spanEnd =
            i + 1 < chunks.size() ? std::min<uint64_t>(chunks[i + 1].offset, limit) : limit;
        if (covered == 0 && !value.compressed && !stored.empty() &&
            stored[0] == kCompressedChunkMarker &&
            chunk.offset + uint64_t{chunk.length} < spanEnd) {
            value.compressed = true;
        }
        if (value.compressed) {
            // Every chunk as stored, one after the other, up to the cap.
            const size_t room = kLongValueSizeCap - value.bytes.size();
            value.bytes.insert(
                value.bytes.end(), stored.begin(),
                stored.begin() + static_cast<std::ptrdiff_t>(std::min(room, stored.size())));
            continue;
        }
        const uint64_t start = std::max<uint64_t>(chunk.offset, coveredEnd);
        const uint64_t end = std::min<uint64_t>(uint64_t{chunk.offset} + chunk.length, limit);
        if (end > start) {
            if (start > coveredEnd) {
                value.gaps.push_back({value.bytes.size(), start - coveredEnd});
            }
            value.bytes.insert(value.bytes.end(), stored.begin() + (start - chunk.offset),
                               stored.begin() + (end - chunk.offset));
            covered += end - start;
            coveredEnd = end;
        }
    }
    if (!value.compressed) {
        value.missingBytes = limit - covered;
        if (limit > coveredEnd) {
            value.gaps.push_back({value.bytes.size(), limit - coveredEnd});
        }
    }
    return value;
}

}  // namespace velmor
