#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "export/pst/file_space.h"
#include "export/pst/pst_bytes.h"
#include "export/pst/pst_layout.h"

namespace velmor::pst {

// A node's content as the layers above build it: its data, already cut into blocks of at
// most kMaxBlockData bytes, and its subnodes, each with content of its own.
struct NodeContent {
    std::vector<Bytes> blocks;
    struct Subnode;
    std::vector<Subnode> subnodes;
};
struct NodeContent::Subnode {
    uint32_t nid = 0;
    NodeContent content;
};

// The node database of the file: blocks with their trailers, data trees for data of more
// than one block, subnode trees, and at the end the node and block B-trees, the maps and the
// header. Blocks are written as they come; the B-tree entries stay in memory until the end.
class NodeDatabase {
public:
    NodeDatabase(std::filesystem::path directory, const EdbFile* database);

    bool Open();
    // Writes a node: its data and subnodes; false after a failed write.
    bool AddNode(uint32_t nid, uint32_t parentNid, const NodeContent& content);
    // Notes that node ids of nid's type up to nid's index are taken.
    void NoteNid(uint32_t nid);
    // Writes the B-trees, the maps and the header, and names the file.
    std::optional<std::filesystem::path> Commit(const std::string& name);

    const std::string& error() const { return space_.error(); }

private:
    struct BlockEntry {
        uint64_t bid;
        uint64_t offset;
        uint16_t size;
    };
    struct NodeEntry {
        uint32_t nid;
        uint32_t parentNid;
        uint64_t dataBid;
        uint64_t subnodeBid;
    };
    struct Reference {
        uint64_t bid;
        uint64_t offset;
    };

    uint64_t WriteBlock(const Bytes& data, bool internal);
    uint64_t WriteData(const std::vector<Bytes>& blocks);
    struct Sized {
        uint64_t bid;
        uint64_t size;
    };
    uint64_t WriteDataTree(const std::vector<Sized>& children, uint8_t level);
    uint64_t WriteSubnodes(const std::vector<NodeContent::Subnode>& subnodes);
    template <typename Entry>
    std::optional<Reference> WriteBTree(const std::vector<Entry>& entries, uint8_t pageType,
                                        size_t leafEntrySize);
    Bytes Header(const Reference& nodeTree, const Reference& blockTree) const;

    FileSpace space_;
    bool failed_ = false;
    uint64_t nextBid_ = kBidStep;
    uint64_t nextPageBid_ = kBidStep;
    std::vector<BlockEntry> blocks_;
    std::vector<NodeEntry> nodes_;
    std::array<uint32_t, kNidTypeCount> nidCounters_;
};

}  // namespace velmor::pst
