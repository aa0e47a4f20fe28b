#pragma once

#include <cstddef>
#include <cstdint>

// The layout of a Unicode personal-folders file with 512-byte pages: positions, sizes and
// type codes, named once.
namespace velmor::pst {

// The file: the header, the density list, then one allocation map every kAMapCoverage bytes.
inline constexpr uint64_t kHeaderSize = 564;
inline constexpr uint64_t kDensityListOffset = 0x4200;
inline constexpr uint64_t kFirstAMapOffset = 0x4400;
inline constexpr uint64_t kPageSize = 512;
inline constexpr size_t kPageDataSize = 496;
inline constexpr uint64_t kSlotSize = 64;  // the unit an allocation-map bit stands for
inline constexpr uint64_t kAMapCoverage = kPageDataSize * 8 * kSlotSize;
// Which ranges carry the older maps after their allocation map (each range index counted
// from the first allocation map). A free map has a byte per range, a free-page map a bit per
// page map; the header's own 128-byte maps cover the ranges before the first of each.
inline constexpr uint64_t kRangesPerPMap = 8;
inline constexpr uint64_t kHeaderMapBytes = 128;
inline constexpr uint64_t kFirstFMapRange = kHeaderMapBytes;
inline constexpr uint64_t kRangesPerFMap = kPageDataSize;
inline constexpr uint64_t kFirstFPMapRange = kHeaderMapBytes * 8 * kRangesPerPMap;
inline constexpr uint64_t kRangesPerFPMap = kPageDataSize * 8 * kRangesPerPMap;

// Page types, each written twice in the page trailer.
inline constexpr uint8_t kPageBlockBTree = 0x80;
inline constexpr uint8_t kPageNodeBTree = 0x81;
inline constexpr uint8_t kPageFMap = 0x82;
inline constexpr uint8_t kPagePMap = 0x83;
inline constexpr uint8_t kPageAMap = 0x84;
inline constexpr uint8_t kPageFPMap = 0x85;
inline constexpr uint8_t kPageDensityList = 0x86;

// B-tree pages: entries, then cEnt, cEntMax, cbEnt, cLevel and padding before the trailer.
inline constexpr size_t kBTreeEntriesSize = 488;
inline constexpr size_t kBTreeIndexEntrySize = 24;  // key, child BID, child offset
inline constexpr size_t kBlockBTreeLeafEntrySize = 24;
inline constexpr size_t kNodeBTreeLeafEntrySize = 32;

// Blocks: data, padding, then a 16-byte trailer; whole blocks are multiples of kSlotSize.
inline constexpr size_t kBlockTrailerSize = 16;
inline constexpr size_t kMaxBlockSize = 8192;
inline constexpr size_t kMaxBlockData = kMaxBlockSize - kBlockTrailerSize;
inline constexpr uint64_t kBidStep = 4;
inline constexpr uint64_t kInternalBid = 0x2;  // blocks of the data and subnode trees
inline constexpr uint16_t kBlockReferences = 2;

// Data trees (XBLOCK, XXBLOCK) and subnode trees (SLBLOCK, SIBLOCK).
inline constexpr uint8_t kDataTreeBlock = 0x01;
inline constexpr uint8_t kSubnodeTreeBlock = 0x02;
inline constexpr size_t kDataTreeHeaderSize = 8;
inline constexpr size_t kMaxDataTreeEntries = (kMaxBlockData - kDataTreeHeaderSize) / 8;
inline constexpr size_t kSubnodeLeafEntrySize = 24;
inline constexpr size_t kSubnodeIndexEntrySize = 16;
inline constexpr size_t kMaxSubnodeLeafEntries =
    (kMaxBlockData - kDataTreeHeaderSize) / kSubnodeLeafEntrySize;
inline constexpr size_t kMaxSubnodeIndexEntries =
    (kMaxBlockData - kDataTreeHeaderSize) / kSubnodeIndexEntrySize;

// Header fields (offsets from the start of the file).
inline constexpr uint32_t kHeaderMagic = 0x4E444221;  // "!BDN"
inline constexpr uint16_t kClientMagic = 0x4D53;      // "SM"
inline constexpr uint16_t kUnicodeVersion = 23;
inline constexpr uint16_t kClientVersion = 19;
inline constexpr uint8_t kPlatform = 0x01;
inline constexpr size_t kHeaderPartialCrcAt = 4;
inline constexpr size_t kHeaderCrcStart = 8;
inline constexpr size_t kHeaderPartialCrcLength = 471;
inline constexpr size_t kHeaderFullCrcLength = 516;
inline constexpr size_t kHeaderNextPageBidAt = 32;
inline constexpr size_t kHeaderUniqueAt = 40;
inline constexpr size_t kHeaderNidCountersAt = 44;
inline constexpr size_t kHeaderRootAt = 180;
inline constexpr size_t kHeaderFreeMapAt = 256;
inline constexpr size_t kHeaderFreePageMapAt = 384;
inline constexpr size_t kHeaderDeprecatedMapSize = kHeaderMapBytes;
inline constexpr size_t kHeaderSentinelAt = 512;
inline constexpr uint8_t kHeaderSentinel = 0x80;
inline constexpr size_t kHeaderCryptMethodAt = 513;
inline constexpr uint8_t kCryptNone = 0x00;
inline constexpr size_t kHeaderNextBidAt = 516;
inline constexpr size_t kHeaderFullCrcAt = 524;
// The ROOT structure inside the header, relative to kHeaderRootAt.
inline constexpr size_t kRootFileEofAt = 4;
inline constexpr size_t kRootLastAMapAt = 12;
inline constexpr size_t kRootAMapFreeAt = 20;
inline constexpr size_t kRootNodeBTreeAt = 36;
inline constexpr size_t kRootBlockBTreeAt = 52;
inline constexpr size_t kRootAMapValidAt = 68;
inline constexpr uint8_t kAMapValid = 0x02;

// Density list page: flags, entry count, padding, current page, then 476 bytes of 4-byte
// entries and 12 bytes of zeros.
inline constexpr size_t kDensityListHeaderSize = 8;
inline constexpr size_t kDensityListEntriesSize = 476;
inline constexpr size_t kMaxDensityListEntries = kDensityListEntriesSize / 4;
inline constexpr uint8_t kDensityListBackfillComplete = 0x01;

// Node ids: a 5-bit type and a 27-bit index.
inline constexpr int kNidTypeBits = 5;
inline constexpr uint32_t kNidTypeNormalFolder = 0x02;
inline constexpr uint32_t kNidTypeNormalMessage = 0x04;
inline constexpr uint32_t kNidTypeAttachment = 0x05;
inline constexpr uint32_t kNidTypeHierarchyTable = 0x0D;
inline constexpr uint32_t kNidTypeContentsTable = 0x0E;
inline constexpr uint32_t kNidTypeAssocContentsTable = 0x0F;
inline constexpr uint32_t kNidTypeLtp = 0x1F;  // subnodes holding large values and rows
inline constexpr int kNidTypeCount = 32;

constexpr uint32_t MakeNid(uint32_t type, uint32_t index) {
    return (index << kNidTypeBits) | type;
}
constexpr uint32_t NidType(uint32_t nid) {
    return nid & ((1u << kNidTypeBits) - 1);
}
constexpr uint32_t NidIndex(uint32_t nid) {
    return nid >> kNidTypeBits;
}
// The node of a folder's table: the folder's index with the table's type.
constexpr uint32_t FolderTable(uint32_t folderNid, uint32_t tableType) {
    return MakeNid(tableType, NidIndex(folderNid));
}

inline constexpr uint32_t kNidMessageStore = 0x21;
inline constexpr uint32_t kNidNameToIdMap = 0x61;
inline constexpr uint32_t kNidNormalFolderTemplate = 0xA1;
inline constexpr uint32_t kNidSearchFolderTemplate = 0xC1;
inline constexpr uint32_t kNidRootFolder = 0x122;
inline constexpr uint32_t kNidSearchManagementQueue = 0x1E1;
inline constexpr uint32_t kNidSearchActivityList = 0x201;
inline constexpr uint32_t kNidSearchDomainObject = 0x261;
inline constexpr uint32_t kNidHierarchyTableTemplate = 0x60D;
inline constexpr uint32_t kNidContentsTableTemplate = 0x60E;
inline constexpr uint32_t kNidAssocContentsTableTemplate = 0x60F;
inline constexpr uint32_t kNidSearchContentsTableTemplate = 0x610;
inline constexpr uint32_t kNidAttachmentTable = 0x671;
inline constexpr uint32_t kNidRecipientTable = 0x692;
inline constexpr uint32_t kNidIpmSubtree = 0x8022;
inline constexpr uint32_t kNidSearchRoot = 0x8042;
inline constexpr uint32_t kNidSpamSearchFolder = 0x8062;
inline constexpr uint32_t kNidDeletedItems = 0x8082;
// The first indexes given out after the fixed nodes.
inline constexpr uint32_t kFirstFolderIndex = 0x405;
inline constexpr uint32_t kFirstMessageIndex = 0x10000;
inline constexpr uint32_t kDefaultNidCounter = 0x400;

// Heap-on-node.
inline constexpr uint8_t kHeapSignature = 0xEC;
inline constexpr uint8_t kHeapClientTable = 0x7C;
inline constexpr uint8_t kHeapClientBTree = 0xB5;
inline constexpr uint8_t kHeapClientProperties = 0xBC;
inline constexpr size_t kHeapHeaderSize = 12;
inline constexpr size_t kHeapPageHeaderSize = 2;
inline constexpr size_t kHeapBitmapHeaderSize = 66;
inline constexpr size_t kHeapBitmapFirstBlock = 8;
inline constexpr size_t kHeapBitmapInterval = 128;
inline constexpr size_t kHeapHeaderFillLevels = 8;
inline constexpr size_t kMaxHeapAllocation = 3580;
inline constexpr size_t kMaxHeapAllocationsPerBlock = 2047;
inline constexpr size_t kMaxHeapBlocks = 65536;
inline constexpr int kHidIndexShift = 5;
inline constexpr int kHidBlockShift = 16;

// BTree-on-heap index entries: a key and a heap id.
inline constexpr size_t kBTreeHidSize = 4;

}  // namespace velmor::pst
