#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "edb_writer/catalog_record.h"
#include "edb_writer/long_value_tree.h"
#include "edb_writer/page_sink.h"
#include "edb_writer/record_packer.h"
#include "edb_writer/store_model.h"
#include "edb_writer/store_options.h"

namespace velmor::testdb {

// Writes a store page by page as mailboxes, folders and items arrive, so that a store of any
// size costs only a few pages of memory. Every id must be set. Pages of different tables
// interleave in the file; a folder's items are best added together, because switching to
// another folder closes the page being filled. Finish writes the catalog (objects 2 and 3),
// the padding the header's object-id bound needs, a last empty page and the header.
class StoreWriter {
public:
    explicit StoreWriter(PageSink& sink, StoreOptions options = {});

    void AddMailbox(const Mailbox& mailbox);
    // Returns the object id of the folder's own message table.
    int32_t AddFolder(const Folder& folder);
    // The folder must have been added; throws std::invalid_argument otherwise.
    void AddItem(const EntryId& folderId, const Item& item);
    void Finish();

    // The catalog records, in the order written to each of the two catalog trees.
    const std::vector<CatalogRecord>& catalog() const { return catalog_; }
    // The value written to the header: the highest object id used unless the options say.
    int32_t highestObjectId() const;

private:
    struct FolderTable {
        EntryId folderId;
        int32_t objectId = 0;
        int32_t rootPage = 0;
    };

    size_t TableOf(const EntryId& folderId) const;
    RecordPacker& ItemPackerFor(size_t table);
    void CloseItemPacker();
    uint16_t StoreLongValue(const std::vector<uint8_t>& data);
    // A value in line, or in the long-value tree with a reference in line.
    void AddStoredValue(MessageColumn column, std::vector<uint8_t> data, BodyStorage storage,
                        std::vector<TaggedValue>& values);
    void AddContentValues(const Item& item, std::vector<TaggedValue>& values);
    void AddFieldValues(const Item& item, std::vector<TaggedValue>& values);
    void WriteCatalog();
    void WriteTail();

    PageSink& sink_;
    StoreOptions options_;
    RecordPacker mailboxes_;
    RecordPacker folders_;
    RecordPacker messages_;
    std::optional<RecordPacker> folderItems_;  // the packer of one folder's table at a time
    size_t folderItemsTable_ = 0;
    std::vector<FolderTable> folderTables_;
    std::unordered_map<uint64_t, size_t> folderIndex_;
    uint32_t nextLongValueKey_ = 1;
    int32_t longValueRootPage_ = 0;
    std::optional<LongValueTreeWriter> bodies_;  // started by the first body stored out of line
    std::vector<CatalogRecord> catalog_;
    bool finished_ = false;
};

}  // namespace velmor::testdb
