#include "discovery/page_grouping.h"

#include <vector>

#include "edb/chunk_stream.h"
#include "items/message_index_scan.h"

namespace velmor {

namespace {

// A page holds a few dozen message records at most.
constexpr size_t kRecordsPerPageCapacity = 96;

}  // namespace

// One pass over the file: every page joins the group of its object id, and the message
// records on it are gathered for the message index, which then needs no second read.
void GroupPagesByObject(ProcessingContext& context) {
    EdbFile& file = context.file;
    MessageCandidates& candidates = context.store.messageCandidates;
    file.maxObjectId = 0;
    candidates.Start();
    const auto fileSize = static_cast<int64_t>(file.fileSize());
    const int64_t wholePages = fileSize / PAGE_SIZE;
    context.sink.SetProgressRange(0, static_cast<int>(fileSize / kChunkSize));
    context.sink.SetProgressPosition(0);

    // A page's records are gathered whole: a stop ends the pass between chunks only.
    StopFlag gatherWithoutStop;
    std::vector<MessageIndexEntry> records;
    records.reserve(kRecordsPerPageCapacity);
    ChunkStream chunks(file);
    for (int64_t i = 0;; ++i) {
        if (context.stop.requested()) {
            return;
        }
        const int64_t offset = i * kChunkSize;
        if (fileSize - offset <= PAGE_SIZE) {
            return;
        }
        context.sink.SetProgressPosition(static_cast<int>(i));
        PageView view;
        if (!chunks.Next(view)) {
            return;
        }
        for (int64_t slot = 0; slot < kPagesPerChunk; ++slot) {
            const int64_t idAt = slot * PAGE_SIZE + kObjectIdOffset;
            if (!view.contains(idAt, sizeof(int32_t))) {
                break;
            }
            const int32_t objectId = view.i32(idAt);
            if (i == 0 && slot == 0 && file.maxObjectId == 0) {
                const int32_t bound = view.i32(kHeaderObjectIdBoundOffset);
                file.maxObjectId =
                    (bound > 0 && bound < wholePages) ? bound : kDefaultObjectIdBound;
            }
            const int64_t pageOffset = offset + slot * PAGE_SIZE;
            const auto pageNumber = static_cast<int32_t>(pageOffset / PAGE_SIZE - 1);
            if (objectId < 1 || objectId > file.maxObjectId) {
                continue;
            }
            context.store.pageGroups.AddPage(objectId, pageNumber);
            if (!candidates.Wants(objectId)) {
                continue;
            }
            const std::span<const uint8_t> page = view.bytes(slot * PAGE_SIZE, PAGE_SIZE);
            if (page.empty()) {
                candidates.EndObject(objectId);
                continue;
            }
            records.clear();
            FindMessageRecords(PageView(page), pageOffset, gatherWithoutStop, records);
            candidates.AddPage(objectId, records);
        }
    }
}

}  // namespace velmor
