#include "discovery/page_grouping.h"

#include <vector>

namespace velmor {

void GroupPagesByObject(ProcessingContext& context) {
    EdbFile& file = context.file;
    file.maxObjectId = 0;
    const auto fileSize = static_cast<int64_t>(file.fileSize());
    const int64_t wholePages = fileSize / PAGE_SIZE;
    context.sink.SetProgressRange(0, static_cast<int>(fileSize / kChunkSize));
    context.sink.SetProgressPosition(0);

    std::vector<uint8_t> chunk(kChunkSize, 0);
    for (int64_t i = 0;; ++i) {
        if (context.stop.requested()) {
            return;
        }
        const int64_t offset = i * kChunkSize;
        if (fileSize - offset <= PAGE_SIZE) {
            return;
        }
        context.sink.SetProgressPosition(static_cast<int>(i));
        const int64_t count = file.ReadChunk(i, chunk);
        if (count <= 0) {
            return;
        }
        const PageView view(chunk.data(), count);
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
            const auto pageNumber =
                static_cast<int32_t>((offset + slot * PAGE_SIZE) / PAGE_SIZE - 1);
            if (objectId < 1 || objectId > file.maxObjectId) {
                continue;
            }
            context.store.pageGroups.AddPage(objectId, pageNumber);
        }
    }
}

}  // namespace velmor
