#pragma once

#include <cstdint>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "edb_writer/catalog_record.h"
#include "edb_writer/database_image.h"
#include "edb_writer/page_sink.h"
#include "edb_writer/store_model.h"
#include "edb_writer/store_options.h"

namespace velmor::testdb {

// Collects a store's mailboxes, folders and items, assigning ids to those that have none, and
// writes it through a StoreWriter: mailboxes, folders, then each folder's items in folder
// order. The same calls always give the same bytes.
class StoreBuilder {
public:
    explicit StoreBuilder(StoreOptions options = {});

    // Each returns the id of what it added (the given one, or the one assigned).
    EntryId AddMailbox(Mailbox mailbox);
    EntryId AddFolder(Folder folder);
    // The folder must have been added; throws std::invalid_argument otherwise.
    EntryId AddItem(const EntryId& folderId, Item item);

    const std::vector<Mailbox>& mailboxes() const { return mailboxes_; }
    const std::vector<Folder>& folders() const { return folders_; }
    const std::vector<Item>& ItemsOf(const EntryId& folderId) const;

    // Writes the store; returns the catalog records written to each catalog tree.
    std::vector<CatalogRecord> WriteTo(PageSink& sink) const;
    // Streams the store to a file.
    std::vector<CatalogRecord> WriteTo(const std::filesystem::path& path) const;
    DatabaseImage Build() const;

private:
    size_t FolderIndex(const EntryId& folderId) const;

    StoreOptions options_;
    std::vector<Mailbox> mailboxes_;
    std::vector<Folder> folders_;
    std::vector<std::vector<Item>> items_;  // per folder, in folder order
    std::unordered_map<uint64_t, size_t> folderIndex_;
    uint64_t nextContainerCounter_;
    uint64_t nextItemCounter_;
};

}  // namespace velmor::testdb
