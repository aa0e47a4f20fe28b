#include "items/folder_table_scan.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "discovery/ordered_block_pass.h"
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

bool ScanFolderPage(const PageView& page, int32_t containerClassColumn, StopFlag& stop,
                    std::vector<FolderEntry>& folders) {
    int64_t p = kPageHeaderSize;
    while (p <= kLastScanPosition) {
        if (stop.requested()) {
            return false;
        }
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
        if (stop.requested()) {
            return false;
        }
        if (namePosition != 0) {
            entry.displayName = DecodeStoredString(page, namePosition, nameLength - 1);
        }
        folders.push_back(std::move(entry));
        p = std::max(namePosition, recordStart) + 1;
    }
    return true;
}

namespace {

// Pages per block of the scan: enough that a block outweighs handing it to a thread.
constexpr size_t kPagesPerBlock = 32;
// Blocks scanned ahead of the merge, per thread.
constexpr size_t kSlotsPerThread = 4;

// One block of the table's pages, scanned: the folders of each page read.
struct ScannedFolderPages {
    std::vector<FolderEntry> folders;
    std::vector<size_t> foldersEnd;  // per page read: the size of folders after it
    bool unreadable = false;         // the page after the last one read could not be read
};

}  // namespace

// The pages are read and scanned in blocks on every core; the calling thread takes their
// folders in page order and reports each page, as one thread going page by page would.
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
    const std::vector<int32_t>& pages = group->pages;
    const int32_t containerClassColumn = context.store.schema.containerClassColumn;
    const unsigned threads = context.threadCount();
    std::vector<ScannedFolderPages> slots(threads * kSlotsPerThread);
    const auto pagesOf = [&](int64_t block) {
        const size_t first = static_cast<size_t>(block) * kPagesPerBlock;
        return std::pair(first, std::min(first + kPagesPerBlock, pages.size()));
    };
    int visited = 0;
    bool stopped = false;

    RunOrderedBlockPass(
        threads, slots.size(),
        [&](int64_t block, size_t slot, unsigned) {
            ScannedFolderPages& scanned = slots[slot];
            scanned.folders.clear();
            scanned.foldersEnd.clear();
            scanned.unreadable = false;
            // A page is scanned whole: a stop ends the scan between pages.
            StopFlag scanWholePage;
            PageBuffer page{};
            const auto [first, end] = pagesOf(block);
            for (size_t i = first; i < end && !context.stop.requested(); ++i) {
                if (!context.file.ReadPage(pages[i], page)) {
                    scanned.unreadable = true;
                    return false;
                }
                ScanFolderPage(page, containerClassColumn, scanWholePage, scanned.folders);
                scanned.foldersEnd.push_back(scanned.folders.size());
            }
            return end < pages.size();
        },
        [&](int64_t block, size_t slot) {
            ScannedFolderPages& scanned = slots[slot];
            const auto [first, end] = pagesOf(block);
            size_t begin = 0;
            for (size_t pageEnd : scanned.foldersEnd) {
                if (context.stop.requested()) {
                    stopped = true;
                    return false;
                }
                sink.SetProgressPosition(++visited);
                if (context.stop.requested()) {
                    stopped = true;
                    return false;
                }
                std::move(scanned.folders.begin() + static_cast<ptrdiff_t>(begin),
                          scanned.folders.begin() + static_cast<ptrdiff_t>(pageEnd),
                          std::back_inserter(context.store.folders));
                begin = pageEnd;
            }
            if (scanned.unreadable) {
                // The scan ends at the page it cannot read, having reported it.
                stopped = context.stop.requested();
                if (!stopped) {
                    sink.SetProgressPosition(++visited);
                }
                return false;
            }
            // Fewer pages than the block holds: the scan was stopped.
            stopped = scanned.foldersEnd.size() < end - first;
            return !stopped;
        });
    if (!stopped) {
        group->ReleasePages();
    }
}

}  // namespace velmor
