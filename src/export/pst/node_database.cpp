#include "export/pst/node_database.h"

#include <algorithm>

#include "export/pst/page.h"
#include "export/pst/pst_crc.h"

namespace velmor::pst {

namespace {

uint64_t BlockSize(size_t dataSize) {
    return (dataSize + kBlockTrailerSize + kSlotSize - 1) / kSlotSize * kSlotSize;
}

// The first node-id index the file's counters give out for each type.
std::array<uint32_t, kNidTypeCount> InitialNidCounters() {
    std::array<uint32_t, kNidTypeCount> counters;
    counters.fill(kDefaultNidCounter);
    counters[kNidTypeNormalMessage] = kFirstMessageIndex;
    return counters;
}

}  // namespace

NodeDatabase::NodeDatabase(std::filesystem::path directory, const EdbFile* database)
    : space_(std::move(directory), database),
      blockLeaves_(kBlockBTreeLeafEntrySize, PageWriter(kPageBlockBTree)),
      messageLeaves_(kNodeBTreeLeafEntrySize, PageWriter(kPageNodeBTree)),
      nidCounters_(InitialNidCounters()) {}

// A B-tree page: the entries, their count, the most the page holds, their size and the
// level, then the trailer with the page's signature.
BTreePageWriter NodeDatabase::PageWriter(uint8_t pageType) {
    return [this, pageType](const Bytes& entries, size_t count, size_t entrySize,
                            uint8_t level) -> std::optional<PageReference> {
        Bytes page = entries;
        page.resize(kBTreeEntriesSize, 0);
        Put8(page, static_cast<uint8_t>(count));
        Put8(page, static_cast<uint8_t>(kBTreeEntriesSize / entrySize));
        Put8(page, static_cast<uint8_t>(entrySize));
        Put8(page, level);
        Put32(page, 0);
        const uint64_t bid = nextPageBid_;
        nextPageBid_ += kBidStep;
        const auto offset = space_.Place(kPageSize, kPageSize);
        if (!offset || !space_.Write(MakePage(page, pageType, Signature(*offset, bid), bid))) {
            failed_ = true;
            return std::nullopt;
        }
        return PageReference{bid, *offset};
    };
}

bool NodeDatabase::Open() {
    failed_ = !space_.Open();
    return !failed_;
}

void NodeDatabase::NoteNid(uint32_t nid) {
    uint32_t& counter = nidCounters_[NidType(nid)];
    counter = std::max(counter, NidIndex(nid) + 1);
}

// A block: its data, zeros up to the trailer, and the trailer with the data's size, the
// signature, the data's CRC and the BID. 0 after a failed write.
uint64_t NodeDatabase::WriteBlock(const Bytes& data, bool internal) {
    if (failed_) {
        return 0;
    }
    const uint64_t bid = nextBid_ | (internal ? kInternalBid : 0);
    nextBid_ += kBidStep;
    const uint64_t size = BlockSize(data.size());
    const auto offset = space_.Place(size, kSlotSize);
    if (!offset) {
        failed_ = true;
        return 0;
    }
    Bytes block = data;
    block.resize(size - kBlockTrailerSize, 0);
    Put16(block, static_cast<uint16_t>(data.size()));
    Put16(block, Signature(*offset, bid));
    Put32(block, Crc(data.data(), data.size()));
    Put64(block, bid);
    if (!space_.Write(block)) {
        failed_ = true;
        return 0;
    }
    Bytes entry;
    Put64(entry, bid);
    Put64(entry, *offset);
    Put16(entry, static_cast<uint16_t>(data.size()));
    Put16(entry, kBlockReferences);
    Put32(entry, 0);
    if (!blockLeaves_.Add(bid, entry)) {
        return 0;
    }
    return bid;
}

uint64_t NodeDatabase::WriteData(const std::vector<Bytes>& blocks) {
    if (blocks.size() <= 1) {
        return WriteBlock(blocks.empty() ? Bytes{} : blocks.front(), false);
    }
    std::vector<Sized> written;
    for (const Bytes& block : blocks) {
        written.push_back({WriteBlock(block, false), block.size()});
    }
    return WriteDataTree(written, 1);
}

// A data tree block lists the BIDs of the blocks below it and the size of all their data.
// One level holds kMaxDataTreeEntries blocks; more take a second level (whose blocks list
// the first level's).
uint64_t NodeDatabase::WriteDataTree(const std::vector<Sized>& children, uint8_t level) {
    if (children.size() > kMaxDataTreeEntries) {
        std::vector<Sized> upper;
        for (size_t first = 0; first < children.size(); first += kMaxDataTreeEntries) {
            const size_t end = std::min(children.size(), first + kMaxDataTreeEntries);
            const std::vector<Sized> part(children.begin() + static_cast<ptrdiff_t>(first),
                                          children.begin() + static_cast<ptrdiff_t>(end));
            uint64_t size = 0;
            for (const Sized& child : part) {
                size += child.size;
            }
            upper.push_back({WriteDataTree(part, 1), size});
        }
        return WriteDataTree(upper, 2);
    }
    uint64_t total = 0;
    for (const Sized& child : children) {
        total += child.size;
    }
    Bytes tree;
    Put8(tree, kDataTreeBlock);
    Put8(tree, level);
    Put16(tree, static_cast<uint16_t>(children.size()));
    Put32(tree, static_cast<uint32_t>(total));
    for (const Sized& child : children) {
        Put64(tree, child.bid);
    }
    return WriteBlock(tree, true);
}

uint64_t NodeDatabase::WriteSubnodes(const std::vector<NodeContent::Subnode>& subnodes) {
    if (subnodes.empty()) {
        return 0;
    }
    std::vector<const NodeContent::Subnode*> sorted;
    for (const auto& subnode : subnodes) {
        sorted.push_back(&subnode);
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const auto* a, const auto* b) { return a->nid < b->nid; });
    struct Leaf {
        uint32_t firstNid;
        uint64_t bid;
    };
    std::vector<Leaf> leaves;
    for (size_t first = 0; first < sorted.size(); first += kMaxSubnodeLeafEntries) {
        const size_t end = std::min(sorted.size(), first + kMaxSubnodeLeafEntries);
        Bytes leaf;
        Put8(leaf, kSubnodeTreeBlock);
        Put8(leaf, 0);
        Put16(leaf, static_cast<uint16_t>(end - first));
        Put32(leaf, 0);
        for (size_t i = first; i < end; ++i) {
            Put64(leaf, sorted[i]->nid);
            Put64(leaf, WriteData(sorted[i]->content.blocks));
            Put64(leaf, WriteSubnodes(sorted[i]->content.subnodes));
        }
        leaves.push_back({sorted[first]->nid, WriteBlock(leaf, true)});
    }
    if (leaves.size() == 1) {
        return leaves.front().bid;
    }
    if (leaves.size() > kMaxSubnodeIndexEntries) {
        Refuse("an item has more values than a PST file's subnode tree holds");
        return 0;
    }
    Bytes index;
    Put8(index, kSubnodeTreeBlock);
    Put8(index, 1);
    Put16(index, static_cast<uint16_t>(leaves.size()));
    Put32(index, 0);
    for (const Leaf& leaf : leaves) {
        Put64(index, leaf.firstNid);
        Put64(index, leaf.bid);
    }
    return WriteBlock(index, true);
}

void NodeDatabase::Refuse(std::string reason) {
    error_ = std::move(reason);
    failed_ = true;
}

bool NodeDatabase::AddNode(uint32_t nid, uint32_t parentNid, const NodeContent& content) {
    const uint64_t dataBid = WriteData(content.blocks);
    const uint64_t subnodeBid = WriteSubnodes(content.subnodes);
    NoteNid(nid);
    if (NidType(nid) != kNidTypeNormalMessage || nid <= lastMessageNid_) {
        otherNodes_.push_back({nid, parentNid, dataBid, subnodeBid});
        return !failed_;
    }
    lastMessageNid_ = nid;
    Bytes entry;
    Put64(entry, nid);
    Put64(entry, dataBid);
    Put64(entry, subnodeBid);
    Put32(entry, parentNid);
    Put32(entry, 0);
    return messageLeaves_.Add(nid, entry) && !failed_;
}

// The other nodes' leaves, in order, go before the messages' leaves written so far: every
// other node id is below the first message's.
std::optional<PageReference> NodeDatabase::WriteNodeBTree() {
    std::sort(otherNodes_.begin(), otherNodes_.end(),
              [](const NodeEntry& a, const NodeEntry& b) { return a.nid < b.nid; });
    const auto& messagePages = messageLeaves_.pages();
    if (!messagePages.empty() && !otherNodes_.empty() &&
        otherNodes_.back().nid > messagePages.front().key) {
        Refuse("the mailbox has more folders than one PST file holds");
        return std::nullopt;
    }
    BTreeLeafWriter others(kNodeBTreeLeafEntrySize, PageWriter(kPageNodeBTree));
    for (const NodeEntry& node : otherNodes_) {
        Bytes entry;
        Put64(entry, node.nid);
        Put64(entry, node.dataBid);
        Put64(entry, node.subnodeBid);
        Put32(entry, node.parentNid);
        Put32(entry, 0);
        if (!others.Add(node.nid, entry)) {
            return std::nullopt;
        }
    }
    if (!others.Finish()) {
        return std::nullopt;
    }
    std::vector<BTreeChild> pages = others.pages();
    pages.insert(pages.end(), messagePages.begin(), messagePages.end());
    return WriteBTreeIndex(std::move(pages), PageWriter(kPageNodeBTree));
}

std::optional<std::filesystem::path> NodeDatabase::Commit(const std::string& name) {
    if (failed_ || !blockLeaves_.Finish() || !messageLeaves_.Finish()) {
        return std::nullopt;
    }
    const auto nodeTree = WriteNodeBTree();
    const auto blockTree = nodeTree
                               ? WriteBTreeIndex(blockLeaves_.pages(), PageWriter(kPageBlockBTree))
                               : std::nullopt;
    // The density list is a page like the B-trees' and is numbered as they are.
    const uint64_t densityListBid = nextPageBid_;
    nextPageBid_ += kBidStep;
    if (!blockTree || !space_.Close(densityListBid)) {
        failed_ = true;
        return std::nullopt;
    }
    return space_.Commit(Header(*nodeTree, *blockTree), name);
}

Bytes NodeDatabase::Header(const PageReference& nodeTree, const PageReference& blockTree) const {
    Bytes header(kHeaderSize, 0);
    Set32(header, 0, kHeaderMagic);
    Set16(header, kHeaderCrcStart, kClientMagic);
    Set16(header, kHeaderCrcStart + 2, kUnicodeVersion);
    Set16(header, kHeaderCrcStart + 4, kClientVersion);
    header[kHeaderCrcStart + 6] = kPlatform;
    header[kHeaderCrcStart + 7] = kPlatform;
    Set64(header, kHeaderNextPageBidAt, nextPageBid_);
    Set32(header, kHeaderUniqueAt, 1);
    for (size_t type = 0; type < nidCounters_.size(); ++type) {
        Set32(header, kHeaderNidCountersAt + 4 * type, nidCounters_[type]);
    }
    const size_t root = kHeaderRootAt;
    Set64(header, root + kRootFileEofAt, space_.fileEnd());
    Set64(header, root + kRootLastAMapAt, space_.lastAMapOffset());
    Set64(header, root + kRootAMapFreeAt, space_.freeBytes());
    Set64(header, root + kRootNodeBTreeAt, nodeTree.bid);
    Set64(header, root + kRootNodeBTreeAt + 8, nodeTree.offset);
    Set64(header, root + kRootBlockBTreeAt, blockTree.bid);
    Set64(header, root + kRootBlockBTreeAt + 8, blockTree.offset);
    header[root + kRootAMapValidAt] = kAMapValid;
    std::fill_n(header.begin() + kHeaderFreeMapAt, kHeaderDeprecatedMapSize, 0xFF);
    std::fill_n(header.begin() + kHeaderFreePageMapAt, kHeaderDeprecatedMapSize, 0xFF);
    header[kHeaderSentinelAt] = kHeaderSentinel;
    header[kHeaderCryptMethodAt] = kCryptNone;
    Set64(header, kHeaderNextBidAt, nextBid_);
    Set32(header, kHeaderPartialCrcAt,
          Crc(header.data() + kHeaderCrcStart, kHeaderPartialCrcLength));
    Set32(header, kHeaderFullCrcAt, Crc(header.data() + kHeaderCrcStart, kHeaderFullCrcLength));
    return header;
}

}  // namespace velmor::pst
