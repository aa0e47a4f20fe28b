#include "discovery/mailbox_scan.h"

#include "edb/stored_value.h"
#include "edb/tagged_directory.h"

namespace velmor {

namespace {

constexpr uint8_t kMarkerByte = 0xFF;
constexpr std::array<uint8_t, 4> kMailboxMarker = {0xFF, 0xFF, 0xFF, 0xFF};
constexpr int64_t kMailboxScanEnd = 3996;
constexpr int64_t kKeyLengthField = 49;  // from the marker
constexpr int kMaxRunWords = 10;
constexpr uint16_t kFirstKeyWord = 1;
constexpr uint16_t kLastKeyWord = 6;
constexpr uint16_t kUnusedColumn = 256;
constexpr uint16_t kDisplayNameColumn = 257;
constexpr int64_t kValueLimit = 4090;

bool IsKeyWord(uint16_t word) {
    return word >= kFirstKeyWord && word <= kLastKeyWord;
}

}  // namespace

bool ScanMailboxPage(const PageView& page, StopFlag& stop, MailboxList& mailboxes) {
    int64_t pos = kPageHeaderSize;
    while (pos < kMailboxScanEnd) {
        if (stop.requested()) {
            return false;
        }
        if (!page.matches(pos, kMailboxMarker)) {
            // Jump to the next 0xFF byte: nothing before it can start a marker.
            const int64_t next = page.find(kMarkerByte, pos + 1, kMailboxScanEnd);
            pos = next < 0 ? kMailboxScanEnd : next;
            continue;
        }
        pos += kKeyLengthField;
        const int64_t keyLength = page.u16(pos);
        pos += 2;
        int64_t distance = 0;
        int words = 0;
        for (; words < kMaxRunWords; ++words) {
            const uint16_t word = page.u16(pos);
            if (IsKeyWord(word)) {
                break;
            }
            distance = word;
            pos += 2;
        }
        if (words == kMaxRunWords) {
            distance = 0;
        }
        const int64_t keyStart = pos;
        const std::u16string key = HexKey(page, keyStart, keyLength);

        pos = keyStart + distance;
        if (page.u16(pos) != kUnusedColumn || page.u16(pos + 4) != kDisplayNameColumn) {
            continue;
        }
        const int64_t t = pos;
        for (int64_t entry = t; entry <= t + 4; entry += 4) {
            const uint16_t column = page.u16(entry);
            const uint16_t start = page.u16(entry + 2);
            const uint16_t end = page.u16(entry + 6);
            if (start == 0 || end == 0) {
                pos += 4;
                continue;
            }
            const int64_t length = ReduceOffset(end) - ReduceOffset(start);
            const int64_t valueStart = t + ReduceOffset(start) + 1;
            if (length <= 0 || valueStart + length > kValueLimit) {
                break;
            }
            if (column != kDisplayNameColumn || mailboxes.ContainsKey(key)) {
                pos += 4;
                continue;
            }
            StoredName name = DecodeStoredName(page, valueStart, length - 1);
            if (!name.text.empty()) {
                mailboxes.Append(MailboxEntry{key, std::move(name.text), std::move(name.bytes)});
            }
            pos += 4;
        }
    }
    return true;
}

void ScanMailboxTable(ProcessingContext& context) {
    ProgressSink& sink = context.sink;
    sink.SetProgressRange(0, 100);
    sink.SetProgressPosition(2);
    ObjectPageGroup* group = context.store.pageGroups.Find(context.store.schema.mailboxTableId);
    if (group == nullptr || group->pages.empty() || context.stop.requested()) {
        return;
    }
    sink.SetProgressPosition(3);
    sink.SetProgressRange(0, group->pageCount);
    sink.SetProgressPosition(0);
    PageBuffer page{};
    int visited = 0;
    for (int32_t pageNumber : group->pages) {
        sink.SetProgressPosition(++visited);
        if (context.stop.requested()) {
            return;
        }
        if (!context.file.ReadPage(pageNumber, page)) {
            break;
        }
        if (!ScanMailboxPage(page, context.stop, context.store.mailboxes)) {
            return;
        }
    }
    group->ReleasePages();
}

}  // namespace velmor
