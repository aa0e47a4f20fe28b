#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "export/pst/btree_writer.h"
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
// than one block, subnode trees, the node and block B-trees, the maps and the header. Blocks
// are written as they come, and so are the leaf pages of the block B-tree (blocks are
// numbered in order) and of the messages' part of the node B-tree (messages are numbered in
// order, after every other node); the entries of the other nodes (folders, their tables, the
// fixed nodes) wait for the end.
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

    const std::string& error() const { return error_.empty() ? space_.error() : error_; }

private:
    struct NodeEntry {
        uint32_t nid;
        uint32_t parentNid;
        uint64_t dataBid;
        uint64_t subnodeBid;
    };
    struct Sized {
        uint64_t bid;
        uint64_t size;
    };

    uint64_t WriteBlock(const Bytes& data, bool internal);
    uint64_t WriteData(const std::vector<Bytes>& blocks);
    uint64_t WriteDataTree(const std::vector<Sized>& children, uint8_t level);
    uint64_t WriteSubnodes(const std::vector<NodeContent::Subnode>& subnodes);
    BTreePageWriter PageWriter(uint8_t pageType);
    std::optional<PageReference> WriteNodeBTree();
    Bytes Header(const PageReference& nodeTree, const PageReference& blockTree) const;

    // Ends the file's writing with a reason of the database's own.
    void Refuse(std::string reason);

    FileSpace space_;
    bool failed_ = false;
    std::string error_;
    uint64_t nextBid_ = kBidStep;
    uint64_t nextPageBid_ = kBidStep;
    BTreeLeafWriter blockLeaves_;
    BTreeLeafWriter messageLeaves_;
    uint32_t lastMessageNid_ = 0;
    std::vector<NodeEntry> otherNodes_;
    std::array<uint32_t, kNidTypeCount> nidCounters_;
};

}  // namespace velmor::pst
