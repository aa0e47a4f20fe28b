#include "edb_writer/store_writer.h"

#include <algorithm>
#include <stdexcept>

#include "edb_writer/database_header.h"
#include "edb_writer/folder_message_record.h"
#include "edb_writer/item_encoding.h"
#include "edb_writer/long_value_page.h"
#include "edb_writer/mailbox_record.h"
#include "edb_writer/message_record.h"
#include "edb_writer/store_catalog.h"
#include "edb_writer/store_columns.h"

namespace velmor::testdb {

namespace {

constexpr int32_t kCatalogObjectId = 2;
constexpr int32_t kShadowCatalogObjectId = 3;
// Readers believe a header bound up to this value even in a file with fewer pages.
constexpr int32_t kAssumedObjectIdBound = 1000;
constexpr uint32_t kLastLongValueKey = 0xFFFF;

// Where each table's readers stop looking: record end, highest anchor offset, gap after.
constexpr PackingLimits kCatalogLimits{4046, kPageSize - 1, 0};
constexpr PackingLimits kMailboxLimits{4090, 3995, 0};
// The container-class reader takes 30 bytes; the gap keeps the next record out of them.
constexpr PackingLimits kFolderLimits{4090, 3995, 30};
constexpr PackingLimits kMessageLimits{4090, 3995, 0};
// Non-mail item scans stop at 3745, sticky-note values must end before 4006.
constexpr PackingLimits kFolderItemLimits{4000, 3745, 0};

// A tagged value whose offset carries this flag starts with a flag byte: 0x01 for a value in
// line, 0x05 for a reference to a long value (then the id, 4 bytes little-endian).
constexpr uint8_t kFlagByteOffsetFlag = 0x4;
constexpr uint8_t kInLineValueFlag = 0x01;
constexpr uint8_t kLongValueReferenceFlag = 0x05;

constexpr size_t kFolderMarkerValueSize = 4;
constexpr size_t kFolderPartnerValueSize = 2;

void RequireSet(const EntryId& id, const char* what) {
    if (IsUnset(id)) {
        throw std::invalid_argument(std::string(what) + " needs an id");
    }
}

int32_t FirstPage(const RecordPacker& packer) {
    return packer.pageNumbers().empty() ? 0 : packer.pageNumbers().front();
}

std::vector<TaggedValue> FolderValues(const Folder& folder) {
    std::vector<TaggedValue> values = {
        {fixed_column::kFolderMarker, std::vector<uint8_t>(kFolderMarkerValueSize, 0)},
        {fixed_column::kFolderMarkerPartner, std::vector<uint8_t>(kFolderPartnerValueSize, 0)},
        {fixed_column::kFolderDisplayName, EncodeText(folder.name, folder.encoding)},
    };
    if (!folder.containerClass.empty()) {
        values.push_back(
            {kContainerClassColumnId, EncodeText(folder.containerClass, TextEncoding::Utf16)});
    }
    return values;
}

}  // namespace

StoreWriter::StoreWriter(PageSink& sink, StoreOptions options)
    : sink_(sink),
      options_(std::move(options)),
      mailboxes_(sink, options_.mailboxTableObjectId, kMailboxLimits),
      folders_(sink, options_.foldersTableObjectId, kFolderLimits),
      messages_(sink, options_.msgTableObjectId, kMessageLimits) {}

void StoreWriter::AddMailbox(const Mailbox& mailbox) {
    RequireSet(mailbox.key, "a mailbox");
    MailboxRecord record;
    record.key.assign(mailbox.key.begin(), mailbox.key.end());
    record.displayName = EncodeText(mailbox.name, mailbox.encoding);
    mailboxes_.Place(EncodeMailboxRecord(record));
}

int32_t StoreWriter::AddFolder(const Folder& folder) {
    RequireSet(folder.id, "a folder");
    const auto [it, inserted] =
        folderIndex_.try_emplace(EntryIdKey(folder.id), folderTables_.size());
    if (!inserted) {
        throw std::invalid_argument("folder " + HexText(folder.id) + " was added twice");
    }
    const int32_t objectId =
        options_.firstFolderTableObjectId + static_cast<int32_t>(folderTables_.size());
    folderTables_.push_back({folder.id, objectId});

    FolderRecord record;
    record.form = folder.form;
    record.folderId = folder.id;
    record.parentId = folder.parent;
    record.values = FolderValues(folder);
    folders_.Place(EncodeFolderRecord(record), FolderDirectoryOffset(record));
    return objectId;
}

void StoreWriter::AddItem(const EntryId& folderId, const Item& item) {
    RequireSet(item.id, "an item");
    const size_t table = TableOf(folderId);

    std::vector<uint8_t> recipientList;
    std::optional<uint16_t> longValueKey;
    if (!item.recipients.empty()) {
        recipientList = EncodeRecipientList(item.recipients);
        if (StoresRecipientsOutOfLine(item, recipientList.size())) {
            longValueKey = StoreLongValue(recipientList);
        }
    }

    FolderMessageRecord folderRecord;
    folderRecord.time = item.time;
    folderRecord.folderId = folderId;
    folderRecord.itemId = item.id;
    folderRecord.values = FolderTableValues(item);
    ItemPackerFor(table).Place(EncodeFolderMessageRecord(folderRecord),
                               kFolderMessageDirectoryOffset);

    MessageRecord messageRecord;
    messageRecord.time = item.time;
    messageRecord.itemId = item.id;
    messageRecord.values = MessageTableValues(item, recipientList, longValueKey);
    AddContentValues(item, messageRecord.values);
    AddFieldValues(item, messageRecord.values);
    messages_.Place(EncodeMessageRecord(messageRecord), kMessageDirectoryOffset);
}

void StoreWriter::Finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    mailboxes_.Flush();
    folders_.Flush();
    messages_.Flush();
    CloseItemPacker();
    if (bodies_) {
        bodies_->Finish();
        if (longValueRootPage_ == 0 && !bodies_->pageNumbers().empty()) {
            longValueRootPage_ = bodies_->pageNumbers().front();
        }
    }
    WriteCatalog();
    WriteTail();
}

int32_t StoreWriter::highestObjectId() const {
    if (options_.highestObjectId) {
        return *options_.highestObjectId;
    }
    int32_t highest = std::max({kShadowCatalogObjectId, options_.mailboxTableObjectId,
                                options_.foldersTableObjectId, options_.msgTableObjectId,
                                options_.msgLongValueObjectId});
    if (!folderTables_.empty()) {
        highest = std::max(highest, folderTables_.back().objectId);
    }
    return highest;
}

size_t StoreWriter::TableOf(const EntryId& folderId) const {
    const auto it = folderIndex_.find(EntryIdKey(folderId));
    if (it == folderIndex_.end()) {
        throw std::invalid_argument("folder " + HexText(folderId) + " was not added");
    }
    return it->second;
}

RecordPacker& StoreWriter::ItemPackerFor(size_t table) {
    if (!folderItems_ || folderItemsTable_ != table) {
        CloseItemPacker();
        folderItems_.emplace(sink_, folderTables_[table].objectId, kFolderItemLimits);
        folderItemsTable_ = table;
    }
    return *folderItems_;
}

void StoreWriter::CloseItemPacker() {
    if (!folderItems_) {
        return;
    }
    folderItems_->Flush();
    FolderTable& table = folderTables_[folderItemsTable_];
    if (table.rootPage == 0) {
        table.rootPage = FirstPage(*folderItems_);
    }
    folderItems_.reset();
}

uint16_t StoreWriter::StoreLongValue(const std::vector<uint8_t>& data) {
    if (nextLongValueKey_ > kLastLongValueKey) {
        throw std::length_error("long-value keys are 16-bit; the store has used them all");
    }
    const auto key = static_cast<uint16_t>(nextLongValueKey_++);
    const int32_t page =
        sink_.AppendPage(MakeLongValuePage(options_.msgLongValueObjectId, key, data));
    if (longValueRootPage_ == 0) {
        longValueRootPage_ = page;
    }
    return key;
}

void StoreWriter::AddStoredValue(MessageColumn column, std::vector<uint8_t> data,
                                 BodyStorage storage, std::vector<TaggedValue>& values) {
    if (data.empty()) {
        return;
    }
    const bool outOfLine = storage == BodyStorage::LongValue ||
                           (storage == BodyStorage::Auto && data.size() > kInLineBodyLimit);
    if (!outOfLine) {
        values.push_back(
            {MessageColumnId(column), std::move(data), kInLineValueFlag, kFlagByteOffsetFlag});
        return;
    }
    if (!bodies_) {
        bodies_.emplace(sink_, options_.msgLongValueObjectId);
    }
    ByteWriter reference;
    reference.U32(bodies_->Add(data));
    values.push_back(
        {MessageColumnId(column), reference.Take(), kLongValueReferenceFlag, kFlagByteOffsetFlag});
}

void StoreWriter::AddContentValues(const Item& item, std::vector<TaggedValue>& values) {
    const MailContent& content = item.content;
    auto add = [&](MessageColumn column, std::vector<uint8_t> data) {
        AddStoredValue(column, std::move(data), content.storage, values);
    };
    add(MessageColumn::S1000,
        content.text.empty() ? std::vector<uint8_t>{} : EncodeText(content.text, item.encoding));
    add(MessageColumn::N1009, content.rtf);
    if (!content.html.empty()) {
        add(content.htmlAsText ? MessageColumn::S1013 : MessageColumn::N1013,
            content.htmlAsText ? EncodeText(content.html, item.encoding)
                               : std::vector<uint8_t>(content.html.begin(), content.html.end()));
    }
}

void StoreWriter::AddFieldValues(const Item& item, std::vector<TaggedValue>& values) {
    const MailFields& fields = item.fields;
    auto raw = [&](MessageColumn column) {
        return std::find_if(fields.rawValues.begin(), fields.rawValues.end(),
                            [&](const auto& value) { return value.first == column; });
    };
    auto text = [&](MessageColumn column, const std::string& value) {
        if (raw(column) == fields.rawValues.end() && !value.empty()) {
            AddStoredValue(column, EncodeText(value, item.encoding), fields.storage, values);
        }
    };
    auto number = [&](MessageColumn column, std::optional<uint32_t> value) {
        if (raw(column) == fields.rawValues.end() && value) {
            ByteWriter writer;
            writer.U32(*value);
            values.push_back({MessageColumnId(column), writer.Take()});
        }
    };
    text(MessageColumn::S0c1f, fields.senderEmailAddress);
    text(MessageColumn::S0c1e, fields.senderAddressType);
    text(MessageColumn::S0042, fields.representingName);
    text(MessageColumn::S0065, fields.representingAddress);
    text(MessageColumn::S0064, fields.representingAddressType);
    text(MessageColumn::S0e04, fields.displayTo);
    text(MessageColumn::S0e03, fields.displayCc);
    text(MessageColumn::S0e02, fields.displayBcc);
    text(MessageColumn::S007d, fields.internetHeaders);
    text(MessageColumn::S1035, fields.messageId);
    text(MessageColumn::S1042, fields.inReplyTo);
    text(MessageColumn::S1039, fields.references);
    number(MessageColumn::L0017, fields.importance);
    number(MessageColumn::L0036, fields.sensitivity);
    number(MessageColumn::L0e07, fields.flags);
    number(MessageColumn::L0e08, fields.size);
    for (const auto& [column, data] : fields.rawValues) {
        values.push_back({MessageColumnId(column), data});
    }
}

void StoreWriter::WriteCatalog() {
    const StoreRootPages roots{.msg = FirstPage(messages_),
                               .msgLongValues = longValueRootPage_,
                               .folders = FirstPage(folders_),
                               .mailbox = FirstPage(mailboxes_)};
    catalog_ = StoreTableRecords(options_, roots);
    std::vector<CatalogRecord> folderTables;
    folderTables.reserve(folderTables_.size());
    for (const FolderTable& table : folderTables_) {
        folderTables.push_back(
            FolderTableRecord(options_, table.folderId, table.objectId, table.rootPage));
    }
    ArrangeCatalog(catalog_, std::move(folderTables));

    for (int32_t objectId : {kCatalogObjectId, kShadowCatalogObjectId}) {
        RecordPacker packer(sink_, objectId, kCatalogLimits);
        for (const CatalogRecord& record : catalog_) {
            packer.Place(EncodeCatalogRecord(record));
        }
        packer.Flush();
    }
}

void StoreWriter::WriteTail() {
    const int32_t highest = highestObjectId();
    // Readers take the bound only from a file with more pages than the bound (the header
    // counted); the last empty page below is one of them.
    if (!options_.highestObjectId && highest > kAssumedObjectIdBound) {
        const Page empty;
        while (sink_.pageCount() + 2 <= highest) {
            sink_.AppendPage(empty);
        }
    }
    // Readers take 4096 bytes at a message record's directory, so a page must follow the last
    // message page; and a file's last page is never read when it starts a 64 KiB chunk.
    sink_.AppendPage(Page());
    sink_.SetHeader(MakeHeaderPage(highest));
}

}  // namespace velmor::testdb
