#include "discovery/catalog_scan.h"

#include <array>

#include "discovery/ordered_page_scan.h"
#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr int32_t kCatalogObjectId = 2;
constexpr int32_t kShadowCatalogObjectId = 3;

// Scans and record fields stay within the first 4046 bytes of a page.
constexpr int64_t kCatalogScanEnd = 4046;
constexpr int64_t kMaxNameLength = 999;
constexpr int64_t kMaxOffsetArrayStart = 1000;
constexpr uint16_t kEmptyColumnFlag = 0x8000;
constexpr int kEmptyColumnRounds = 4;

// Leaf-node signatures of a catalog record and the distance from the signature to the first
// fixed column.
struct NodeSignature {
    std::array<uint8_t, 4> bytes;
    int64_t advance;
};
constexpr std::array<NodeSignature, 7> kNodeSignatures = {{
    {{0x04, 0x00, 0x09, 0x00}, 17},
    {{0x07, 0x00, 0x06, 0x00}, 14},
    {{0x0C, 0x00, 0x01, 0x00}, 9},
    {{0x0D, 0x00, 0x00, 0x00}, 8},
    {{0x0B, 0x00, 0x02, 0x00}, 10},
    {{0x0D, 0x00, 0x7F, 0x80}, 19},
    {{0x03, 0x00, 0x0A, 0x00}, 18},
}};

// Field positions relative to q, the first fixed column.
constexpr int64_t kOffsetArrayField = -2;
constexpr int64_t kTableObjectIdField = 0;
constexpr int64_t kIdField = 6;
constexpr int64_t kTypeOrRootPageField = 10;
constexpr int64_t kRootMarkerField = 26;

int64_t MatchSignature(const PageView& page, int64_t pos) {
    for (const NodeSignature& signature : kNodeSignatures) {
        if (page.matches(pos, signature.bytes)) {
            return signature.advance;
        }
    }
    return 0;
}

}  // namespace

void ScanCatalogPage(const PageView& page, int32_t maxObjectId,
                     std::vector<CatalogEntry>& entries) {
    int64_t pos = kPageHeaderSize;
    while (pos < kCatalogScanEnd) {
        const int64_t advance = MatchSignature(page, pos);
        if (advance == 0) {
            ++pos;
            continue;
        }
        const int64_t q = pos + advance;
        int64_t n = 0;
        int64_t nameEnd = 0;
        CatalogEntry entry;
        if (q < kCatalogScanEnd) {
            const int64_t v = page.u16(q + kOffsetArrayField);
            entry.tableObjectId = page.i32(q + kTableObjectIdField);
            entry.id = page.i32(q + kIdField);
            entry.typeOrRootPage = page.i32(q + kTypeOrRootPageField);
            entry.rootMarker = page.u16(q + kRootMarkerField);
            n = v >= 2 ? v - 2 : v;
        }
        if (q + n <= kCatalogScanEnd && n >= 0) {
            nameEnd = page.u16(q + n - 2);
        }
        // Offset-array entries equal to the previous end plus 0x8000 mark empty columns; step
        // over them to the next real end, so that n ends at the variable data.
        if (n <= kMaxOffsetArrayStart && nameEnd <= kMaxOffsetArrayStart) {
            for (int round = 0; round < kEmptyColumnRounds; ++round) {
                const int64_t target = nameEnd + kEmptyColumnFlag;
                bool matched = false;
                while (page.u16(q + n) == target) {
                    matched = true;
                    if (page.contains(q + n + 2, 2)) {
                        nameEnd = page.u16(q + n + 2);
                    }
                    n += 2;
                }
                if (matched) {
                    n += 2;
                }
            }
        }
        const bool accepted = nameEnd >= 1 && nameEnd <= kMaxNameLength &&
                              entry.tableObjectId >= 1 && entry.tableObjectId <= maxObjectId &&
                              q + n < kCatalogScanEnd && n >= 1;
        if (!accepted) {
            pos = q + 1;
            continue;
        }
        if (q + n + nameEnd < PAGE_SIZE) {
            const auto nameBytes = page.bytes(q + n, nameEnd);
            size_t length = 0;
            while (length < nameBytes.size() && nameBytes[length] != 0) {
                ++length;
            }
            entry.name = Windows1252ToUtf16(nameBytes.first(length));
        }
        entries.push_back(std::move(entry));
        pos = q + n + nameEnd;
    }
}

// The pages of both objects are read and scanned on every core, their records taken in page
// order; a page that cannot be read ends its object's pages.
void ScanCatalog(ProcessingContext& context) {
    ObjectPageGroup* catalog = context.store.pageGroups.Find(kCatalogObjectId);
    ObjectPageGroup* shadow = context.store.pageGroups.Find(kShadowCatalogObjectId);
    if (catalog == nullptr || shadow == nullptr) {
        return;
    }
    context.sink.SetProgressRange(0, shadow->pageCount + catalog->pageCount);
    const int32_t maxObjectId = context.file.maxObjectId;
    int visited = 0;
    for (ObjectPageGroup* group : {catalog, shadow}) {
        const PageScanEnd end = ScanPagesInOrder(
            context, group->pages, visited,
            [maxObjectId](int32_t, const PageView& page, std::vector<CatalogEntry>& entries) {
                ScanCatalogPage(page, maxObjectId, entries);
            },
            context.store.catalog);
        if (end == PageScanEnd::Stopped) {
            return;
        }
    }
    catalog->ReleasePages();
    shadow->ReleasePages();
}

}  // namespace velmor
