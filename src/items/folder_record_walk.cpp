#include "items/folder_record_walk.h"

#include "edb/stored_value.h"

namespace velmor {

namespace {

// Both values of every marker pair have 0x01 as their high byte.
constexpr uint8_t kMarkerHighByte = 0x01;
constexpr int kFullProgress = 100;

}  // namespace

bool ItemMarker(const PageView& page, int64_t p) {
    const uint16_t first = page.u16(p);
    const uint16_t second = page.u16(p + 4);
    return (first == 256 && second == 257) || (first == 257 && second == 259);
}

bool WalkFolderRecords(ProcessingContext& context, int32_t tableObjectId,
                       const std::u16string& folderId, const FolderWalkShape& shape,
                       const FolderRecordVisitor& visit) {
    const ObjectPageGroup* group = context.store.pageGroups.Find(tableObjectId);
    if (group == nullptr || group->pages.empty()) {
        return false;
    }
    ProgressSink& sink = context.sink;
    if (shape.setsProgressRange) {
        sink.SetItemProgressRange(0, kFullProgress);
    }
    sink.SetItemProgressPosition(0);
    const int64_t pageCount = group->pageCount;
    PageBuffer buffer{};
    const PageView page(buffer);
    int64_t k = 0;
    for (int32_t pageNumber : group->pages) {
        ++k;
        if (context.stop.requested()) {
            return false;
        }
        sink.SetItemProgressPosition(
            pageCount == 0 ? 0 : static_cast<int>(shape.progressSpan * k / pageCount));
        if (!context.file.ReadPage(pageNumber, buffer)) {
            return true;
        }
        int64_t p = kPageHeaderSize;
        while (p <= shape.lastPosition) {
            // Only positions followed by a 0x01 byte can hold a marker; memchr finds them fast.
            const int64_t high = page.find(kMarkerHighByte, p + 1, shape.lastPosition + 2);
            if (high < 0) {
                break;
            }
            p = high - 1;
            if (context.stop.requested()) {
                return false;
            }
            int64_t position = p;
            if (ItemMarker(page, p) &&
                HexKey(page, p + kItemFolderIdField, kItemIdLength) == folderId) {
                if (!visit(page, p, position)) {
                    return false;
                }
            }
            p = position + 1;
        }
    }
    return true;
}

}  // namespace velmor
