#include "items/message_index_scan.h"

#include <deque>
#include <optional>
#include <vector>

#include "discovery/ordered_page_scan.h"
#include "items/folder_record_walk.h"

namespace velmor {

namespace {

constexpr int64_t kIndexScanEnd = 3996;
constexpr int64_t kIndexedItemIdField = -24;  // from the directory start M
constexpr int64_t kTimeField = -53;
constexpr int64_t kSkipAfterRecord = 47;
// Both values of every marker pair have 0x01 as their high byte, 4 bytes apart.
constexpr uint8_t kIndexMarkerHighByte = 0x01;
constexpr int64_t kIndexMarkerHighBytesApart = 4;

// A message record's tagged directory starts with one of these column pairs.
bool IndexMarker(const PageView& page, int64_t p) {
    const uint16_t first = page.u16(p);
    const uint16_t second = page.u16(p + 4);
    return (first == 256 && second == 257) || (first == 257 && second == 259) ||
           (first == 259 && second == 271) || (first == 259 && second == 260);
}

}  // namespace

void FindMessageRecords(const PageView& page, int64_t pageOffset,
                        std::vector<MessageIndexEntry>& found) {
    int64_t p = kPageHeaderSize;
    while (p < kIndexScanEnd) {
        // Only positions whose two high bytes are 0x01 can hold a marker; they are found
        // sixteen at a time.
        const int64_t high = page.findPair(kIndexMarkerHighByte, kIndexMarkerHighBytesApart, p + 1,
                                           kIndexScanEnd + 1);
        if (high < 0) {
            break;
        }
        p = high - 1;
        if (!IndexMarker(page, p)) {
            ++p;
            continue;
        }
        MessageIndexEntry entry;
        entry.recordPosition = pageOffset + p;
        // A record whose time field would start before the page keeps no time.
        if (page.contains(p + kTimeField, sizeof entry.fileTime)) {
            entry.fileTime = page.u64(p + kTimeField);
        }
        for (uint8_t byte : page.bytes(p + kIndexedItemIdField, kItemIdLength)) {
            entry.itemIdValue = (entry.itemIdValue << 8) | byte;
        }
        found.push_back(entry);
        p += kSkipAfterRecord;
    }
}

namespace {

// The table's pages read again, for records the full-file pass did not gather: their entries
// in page order, or nothing when a stop was asked.
std::optional<std::deque<MessageIndexEntry>> ReadMessagePages(ProcessingContext& context,
                                                              const ObjectPageGroup& group) {
    std::deque<MessageIndexEntry> entries;
    int visited = 0;
    const PageScanEnd end = ScanPagesInOrder(
        context, group.pages, visited,
        [](int32_t pageNumber, const PageView& page, std::vector<MessageIndexEntry>& found) {
            FindMessageRecords(page, PageOffset(pageNumber), found);
        },
        entries);
    if (end == PageScanEnd::Stopped) {
        return std::nullopt;
    }
    return entries;
}

}  // namespace

const MessageIndexEntry* BuildMessageIndex(ProcessingContext& context) {
    ProgressSink& sink = context.sink;
    sink.SetProgressRange(0, 100);
    sink.SetProgressPosition(1);
    ObjectPageGroup* group = context.store.pageGroups.Find(context.store.schema.msgTableObjectId);
    if (group == nullptr || group->pages.empty()) {
        return nullptr;
    }
    if (context.stop.requested()) {
        return nullptr;
    }
    sink.SetProgressPosition(2);
    sink.SetProgressRange(0, group->pageCount);
    // A large index takes a while to build: the bar moves and a stop is heard meanwhile.
    const auto progress = [&](size_t done, size_t total) {
        sink.SetProgressPosition(
            static_cast<int>(static_cast<int64_t>(group->pageCount) * static_cast<int64_t>(done) /
                             static_cast<int64_t>(total)));
        return !context.stop.requested();
    };
    if (auto gathered = context.store.messageCandidates.Take(group->objectId, progress)) {
        if (context.stop.requested()) {
            return nullptr;
        }
        context.store.messageIndex = std::move(*gathered);
        sink.SetProgressPosition(group->pageCount);
    } else {
        auto entries = ReadMessagePages(context, *group);
        if (!entries) {
            return nullptr;
        }
        // The bar has gone over the pages already: the build only still hears a stop.
        MessageIndex read(std::move(*entries),
                          [&](size_t, size_t) { return !context.stop.requested(); });
        if (context.stop.requested()) {
            return nullptr;
        }
        context.store.messageIndex = std::move(read);
    }
    group->ReleasePages();
    const MessageIndex& index = context.store.messageIndex;
    return index.empty() ? nullptr : &index.entries().front();
}

}  // namespace velmor
