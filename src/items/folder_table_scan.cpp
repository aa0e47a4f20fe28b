#include "items/folder_table_scan.h"

#include <algorithm>

#include "discovery/ordered_page_scan.h"
#include "edb/stored_value.h"
#include "edb/tagged_directory.h"

namespace velmor {

namespace {

constexpr int64_t kLastScanPosition = 3995;
constexpr std::array<uint8_t, 3> kLongHeader = {0x0F, 0x00, 0xC0};
constexpr std::array<uint8_t, 3> kLongHeaderFlagged = {0x0F, 0xFF, 0xC0};
constexpr uint32_t kShortHeader = 0x00100008;
constexpr int64_t kLongFormIdSearchOffset = 64;
constexpr int kMaxIdSearchWords = 14;
constexpr uint16_t kFirstIdWord = 1;
constexpr uint16_t kLastIdWord = 6;
constexpr int64_t kIdLength = 8;
constexpr int64_t kDirectoryLimit = 3996;
constexpr int kMaxDirectoryEntries = 40;
constexpr int64_t kValueStartLimit = 4090;
constexpr uint16_t kDisplayNameColumn = 261;
constexpr int64_t kContainerClassBytes = 30;

// A folder record's tagged directory begins with one of these column pairs.
bool FolderMarker(const PageView& page, int64_t q) {
    const uint16_t first = page.u16(q);
    const uint16_t second = page.u16(q + 4);
    return (first == 256 && second == 260) || (first == 257 && second == 258);
}

// The start of the identifiers: the first of up to 14 words whose value is 1 to 6; w is the
// word before it (0 when the first word already qualifies, the 14th word when none does).
int64_t FindIdStart(const PageView& page, int64_t x, int64_t& w) {
    w = 0;
    for (int word = 0; word < kMaxIdSearchWords; ++word) {
        const uint16_t value = page.u16(x);
        if (value >= kFirstIdWord && value <= kLastIdWord) {
            return x;
        }
        w = value;
        x += 2;
    }
    return x;
}

}  // namespace

void ScanFolderPage(const PageView& page, int32_t containerClassColumn,
                    std::vector<FolderEntry>& folders) {
    int64_t p = kPageHeaderSize;
    while (p <= kLastScanPosition) {
        const bool longForm = page.matches(p, kLongHeader) || page.matches(p, kLongHeaderFlagged);
        if (!longForm && page.u32(p) != kShortHeader) {
            ++p;
            continue;
        }
        const int64_t recordStart = p;
        int64_t w = 0;
        const int64_t x =
            FindIdStart(page, longForm ? recordStart + kLongFormIdSearchOffset : recordStart, w);
        FolderEntry entry;
        entry.folderId = HexKey(page, x, kIdLength);
        entry.parentId = HexKey(page, x + kIdLength, kIdLength);
        const int64_t q = x + w;
        if (!(q > 0 && q < kDirectoryLimit && FolderMarker(page, q))) {
            p = x + 1;
            continue;
        }

        int64_t nameLength = 0;
        int64_t namePosition = 0;
        for (int k = 0; k < kMaxDirectoryEntries; ++k) {
            const auto tagged = ReadTaggedEntry(page, q, k);
            if (!tagged) {
                break;
            }
            if (tagged->offset == 0 || tagged->nextOffset == 0) {
                continue;
            }
            const int64_t s = q + ReduceOffset(tagged->offset) + 1;
            const int64_t length = ReduceOffset(tagged->nextOffset) - ReduceOffset(tagged->offset);
            if (s > kValueStartLimit) {
                break;
            }
            if (tagged->column == kDisplayNameColumn) {
                nameLength = length;
                namePosition = s;
            }
            if (containerClassColumn != 0 && tagged->column == containerClassColumn) {
                const int64_t available = std::min(kContainerClassBytes, page.size() - s);
                entry.containerClass = NonZeroBytesAsText(page.bytes(s, available));
            }
        }
        if (namePosition != 0) {
            StoredName name = DecodeStoredName(page, namePosition, nameLength - 1);
            entry.displayName = std::move(name.text);
            entry.storedName = std::move(name.bytes);
        }
        folders.push_back(std::move(entry));
        p = std::max(namePosition, recordStart) + 1;
    }
}

// The pages are read and scanned on every core and their folders taken in page order.
void ScanFolderTable(ProcessingContext& context) {
    ProgressSink& sink = context.sink;
    sink.SetProgressRange(0, 100);
    sink.SetProgressPosition(2);
    if (context.stop.requested()) {
        return;
    }
    ObjectPageGroup* group = context.store.pageGroups.Find(context.store.schema.foldersTableId);
    if (group == nullptr || group->pages.empty()) {
        return;
    }
    sink.SetProgressPosition(3);
    sink.SetProgressRange(0, group->pageCount);
    const int32_t containerClassColumn = context.store.schema.containerClassColumn;
    int visited = 0;
    const PageScanEnd end = ScanPagesInOrder(
        context, group->pages, visited,
        [containerClassColumn](int32_t, const PageView& page, std::vector<FolderEntry>& folders) {
            ScanFolderPage(page, containerClassColumn, folders);
        },
        context.store.folders);
    if (end != PageScanEnd::Stopped) {
        group->ReleasePages();
    }
}

}  // namespace velmor
