#include "discovery/scanned_block.h"

#include "items/message_index_scan.h"

namespace velmor {

void ScanBlock(const uint8_t* bytes, int64_t firstChunk, RecordsWanted wanted,
               ScannedBlock& block) {
    block.pagesEnd.clear();
    block.pages.clear();
    block.records.clear();
    block.headerBound.reset();
    for (size_t c = 0; c < block.counts.size() && block.counts[c] != 0; ++c) {
        const PageView view(bytes + c * kChunkSize, block.counts[c]);
        const int64_t chunkOffset = (firstChunk + static_cast<int64_t>(c)) * kChunkSize;
        for (int64_t slot = 0; slot < kPagesPerChunk; ++slot) {
            const int64_t idAt = slot * PAGE_SIZE + kObjectIdOffset;
            if (!view.contains(idAt, sizeof(int32_t))) {
                break;
            }
            if (chunkOffset == 0 && slot == 0) {
                block.headerBound = view.i32(kHeaderObjectIdBoundOffset);
            }
            const int32_t objectId = view.i32(idAt);
            if (objectId < 1) {
                continue;
            }
            const int64_t pageOffset = chunkOffset + slot * PAGE_SIZE;
            ScannedPage page{objectId, static_cast<int32_t>(pageOffset / PAGE_SIZE - 1)};
            const std::span<const uint8_t> bytesOfPage = view.bytes(slot * PAGE_SIZE, PAGE_SIZE);
            page.whole = !bytesOfPage.empty();
            page.recordsBegin = static_cast<uint32_t>(block.records.size());
            if (page.whole && wanted.of(objectId)) {
                FindMessageRecords(PageView(bytesOfPage), pageOffset, block.records);
            }
            page.recordsEnd = static_cast<uint32_t>(block.records.size());
            block.pages.push_back(page);
        }
        block.pagesEnd.push_back(block.pages.size());
    }
}

}  // namespace velmor
