#include "edb_writer/store_builder.h"

#include <stdexcept>

#include "edb_writer/file_page_sink.h"
#include "edb_writer/store_writer.h"

namespace velmor::testdb {

namespace {

constexpr uint16_t kReplica = 1;
// Mailbox keys and folder ids share one counter of fixed width (six hexadecimal digits), so
// that folder table names all have one length and none contains another.
constexpr uint64_t kFirstContainerCounter = 0x100001;
constexpr uint64_t kFirstItemCounter = 0x10000001;

}  // namespace

StoreBuilder::StoreBuilder(StoreOptions options)
    : options_(std::move(options)),
      nextContainerCounter_(kFirstContainerCounter),
      nextItemCounter_(kFirstItemCounter) {}

EntryId StoreBuilder::AddMailbox(Mailbox mailbox) {
    if (IsUnset(mailbox.key)) {
        mailbox.key = MakeEntryId(kReplica, nextContainerCounter_++);
    }
    mailboxes_.push_back(std::move(mailbox));
    return mailboxes_.back().key;
}

EntryId StoreBuilder::AddFolder(Folder folder) {
    if (IsUnset(folder.id)) {
        folder.id = MakeEntryId(kReplica, nextContainerCounter_++);
    }
    if (!folderIndex_.try_emplace(EntryIdKey(folder.id), folders_.size()).second) {
        throw std::invalid_argument("folder " + HexText(folder.id) + " was added twice");
    }
    folders_.push_back(std::move(folder));
    items_.emplace_back();
    return folders_.back().id;
}

EntryId StoreBuilder::AddItem(const EntryId& folderId, Item item) {
    std::vector<Item>& items = items_[FolderIndex(folderId)];
    if (IsUnset(item.id)) {
        item.id = MakeEntryId(kReplica, nextItemCounter_++);
    }
    items.push_back(std::move(item));
    return items.back().id;
}

const std::vector<Item>& StoreBuilder::ItemsOf(const EntryId& folderId) const {
    return items_[FolderIndex(folderId)];
}

std::vector<CatalogRecord> StoreBuilder::WriteTo(PageSink& sink) const {
    StoreWriter writer(sink, options_);
    for (const Mailbox& mailbox : mailboxes_) {
        writer.AddMailbox(mailbox);
    }
    for (const Folder& folder : folders_) {
        writer.AddFolder(folder);
    }
    for (size_t f = 0; f < folders_.size(); ++f) {
        for (const Item& item : items_[f]) {
            writer.AddItem(folders_[f].id, item);
        }
    }
    writer.Finish();
    return writer.catalog();
}

std::vector<CatalogRecord> StoreBuilder::WriteTo(const std::filesystem::path& path) const {
    FilePageSink sink(path);
    std::vector<CatalogRecord> catalog = WriteTo(sink);
    sink.Close();
    return catalog;
}

DatabaseImage StoreBuilder::Build() const {
    DatabaseImage image;
    WriteTo(image);
    return image;
}

size_t StoreBuilder::FolderIndex(const EntryId& folderId) const {
    const auto it = folderIndex_.find(EntryIdKey(folderId));
    if (it == folderIndex_.end()) {
        throw std::invalid_argument("folder " + HexText(folderId) + " was not added");
    }
    return it->second;
}

}  // namespace velmor::testdb
