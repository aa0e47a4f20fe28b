// Stores composed by the test-database writer, read back by the engine's processing parts:
// what the writer puts in must be what discovery finds.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "discovery/null_progress_sink.h"
#include "discovery/processing_driver.h"
#include "edb/stored_value.h"
#include "edb/tagged_directory.h"
#include "edb/text_codec.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "edb_writer/store_columns.h"
#include "items/item_date.h"
#include "temp_dir.h"

namespace velmor {
namespace {

using testdb::EntryId;
using testdb::Folder;
using testdb::FolderHeaderForm;
using testdb::Item;
using testdb::ItemKind;
using testdb::StoreBuilder;
using testdb::TextEncoding;

constexpr int64_t kBlockSize = 4096;

std::u16string Hex(const EntryId& id) {
    return Utf8ToUtf16(testdb::HexText(id));
}

EntryId AddFolder(StoreBuilder& store, const EntryId& parent, const std::string& name,
                  const std::string& containerClass, FolderHeaderForm form = FolderHeaderForm::Long,
                  TextEncoding encoding = TextEncoding::Utf16) {
    Folder folder;
    folder.parent = parent;
    folder.name = name;
    folder.containerClass = containerClass;
    folder.form = form;
    folder.encoding = encoding;
    return store.AddFolder(folder);
}

Item MakeItem(ItemKind kind, const std::string& subject, int day) {
    Item item;
    item.kind = kind;
    item.subject = subject;
    item.time = testdb::FileTimeFromUtc(2007, 4, day, 13, 39, 7);
    return item;
}

EntryId AddMailbox(StoreBuilder& store, const std::string& name, TextEncoding encoding) {
    testdb::Mailbox mailbox;
    mailbox.name = name;
    mailbox.encoding = encoding;
    return store.AddMailbox(mailbox);
}

// Two mailboxes with folders in every header form and items of every kind; the inbox holds
// enough mail to fill several pages of both message tables.
StoreBuilder SampleStore() {
    StoreBuilder store;
    const EntryId ann = AddMailbox(store, "Ann Walker", TextEncoding::Utf16);
    const EntryId ben = AddMailbox(store, "Mailbox Ben", TextEncoding::Ansi);

    const EntryId annTop = AddFolder(store, ann, "Top of Information Store", "");
    const EntryId inbox =
        AddFolder(store, annTop, "Inbox", "IPF.Note", FolderHeaderForm::LongFlagged);
    const EntryId contacts =
        AddFolder(store, annTop, "Contacts", "IPF.Contact", FolderHeaderForm::Short);
    const EntryId calendar = AddFolder(store, annTop, "Calendar", "IPF.Appointment",
                                       FolderHeaderForm::Long, TextEncoding::Ansi);
    const EntryId sent = AddFolder(store, annTop, "Sent Items", "IPF.Note");
    const EntryId projects = AddFolder(store, inbox, "Projects", "IPF.Note");
    const EntryId benTop = AddFolder(store, ben, "Top of Information Store", "");
    const EntryId tasks = AddFolder(store, benTop, "Tasks", "IPF.Task", FolderHeaderForm::Short);
    const EntryId notes = AddFolder(store, benTop, "Notes", "IPF.StickyNote");
    const EntryId journal = AddFolder(store, benTop, "Journal", "IPF.Journal");

    for (int i = 0; i < 60; ++i) {
        Item mail = MakeItem(ItemKind::Mail, "Weekly report " + std::to_string(i), 1 + i % 28);
        mail.sender = "Carol Hughes";
        mail.flagged = i % 7 == 0;
        store.AddItem(inbox, mail);
    }
    store.AddItem(projects, MakeItem(ItemKind::Mail, "Website redesign", 3));

    Item everyone = MakeItem(ItemKind::Mail, "Office closed on Monday", 12);
    everyone.recipients = {{"Carol Hughes"}, {"David Moore"}, {"Emma Fisher", TextEncoding::Ansi}};
    everyone.recipientStorage = testdb::RecipientStorage::OutOfLine;
    store.AddItem(sent, everyone);
    Item one = MakeItem(ItemKind::Mail, "Budget figures", 10);
    one.recipients = {{"David Moore"}};
    store.AddItem(sent, one);

    Item contact = MakeItem(ItemKind::Contact, "", 1);
    contact.contact.fullName = "Emma Fisher";
    contact.contact.emailAddress = "emma.fisher@example.com";
    store.AddItem(contacts, contact);
    Item appointment = MakeItem(ItemKind::Appointment, "Dentist", 20);
    appointment.location = "High Street 12";
    store.AddItem(calendar, appointment);
    store.AddItem(tasks, MakeItem(ItemKind::Task, "Send the quarterly report", 17));
    store.AddItem(notes, MakeItem(ItemKind::StickyNote, "Call Frank back", 11));
    Item call = MakeItem(ItemKind::Journal, "Call with Grace", 10);
    call.entryType = "Phone call";
    store.AddItem(journal, call);
    return store;
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class WriterRoundTrip : public testing::Test {
protected:
    // Writes the store and runs the seven processing parts over it.
    bool Discover(const StoreBuilder& builder) {
        catalog_ = builder.WriteTo(path_);
        EXPECT_EQ(file_.OpenDatabase(path_), 0);
        ProcessingContext context{file_, store_, sink_, stop_};
        return RunProcessingParts(context);
    }

    // The text of a column in the message record whose directory lies at the file position.
    std::u16string MessageColumnText(int64_t recordPosition, uint16_t column) {
        std::vector<uint8_t> block(kBlockSize);
        EXPECT_EQ(file_.ReadAt(recordPosition, block), kBlockSize);
        const PageView view(block);
        for (int k = 0;; ++k) {
            const auto entry = ReadTaggedEntry(view, 0, k);
            if (!entry || entry->column == 0) {
                return {};
            }
            if (entry->column == column) {
                const int64_t start = ReduceOffset(entry->offset) + 1;
                const int64_t length = ReduceOffset(entry->nextOffset) - start;
                return DecodeStoredString(view, start, length);
            }
        }
    }

    int32_t FolderTableObjectId(const EntryId& folderId) const {
        const std::u16string name = Utf8ToUtf16(testdb::FolderTableName(testdb::HexText(folderId)));
        for (const CatalogEntry& entry : store_.catalog) {
            if (entry.name.find(name) != std::u16string::npos) {
                return entry.tableObjectId;
            }
        }
        return 0;
    }

    test::TempDir dir_;
    test::ScopedTmpDir tmp_{dir_.path()};
    std::filesystem::path path_ = dir_ / "Store.edb";
    std::vector<testdb::CatalogRecord> catalog_;
    EdbFile file_;
    RecoveredStore store_;
    NullProgressSink sink_;
    StopFlag stop_;
};

TEST_F(WriterRoundTrip, DiscoveryFindsTheMailboxesFoldersCatalogAndMessages) {
    const StoreBuilder builder = SampleStore();
    ASSERT_TRUE(Discover(builder));

    const auto& mailboxes = store_.mailboxes.entries();
    ASSERT_EQ(mailboxes.size(), 2u);
    EXPECT_EQ(mailboxes[0].key, Hex(builder.mailboxes()[0].key));
    EXPECT_EQ(mailboxes[0].displayName, u"Mailbox - Ann Walker");
    EXPECT_EQ(mailboxes[1].key, Hex(builder.mailboxes()[1].key));
    EXPECT_EQ(mailboxes[1].displayName, u"Mailbox Ben");

    ASSERT_EQ(store_.folders.size(), builder.folders().size());
    for (size_t i = 0; i < builder.folders().size(); ++i) {
        const Folder& written = builder.folders()[i];
        const FolderEntry& found = store_.folders[i];
        EXPECT_EQ(found.folderId, Hex(written.id)) << written.name;
        EXPECT_EQ(found.parentId, Hex(written.parent)) << written.name;
        EXPECT_EQ(found.displayName, Utf8ToUtf16(written.name));
        EXPECT_EQ(found.containerClass, Utf8ToUtf16(written.containerClass)) << written.name;
    }

    // Every record is listed twice: from the catalog, then from its shadow copy.
    ASSERT_EQ(store_.catalog.size(), 2 * catalog_.size());
    for (size_t i = 0; i < store_.catalog.size(); ++i) {
        const testdb::CatalogRecord& written = catalog_[i % catalog_.size()];
        const CatalogEntry& found = store_.catalog[i];
        std::string name;
        for (const std::vector<uint8_t>& column : written.variableColumns) {
            name.append(column.begin(), column.end());
        }
        EXPECT_EQ(found.name, Utf8ToUtf16(name));
        EXPECT_EQ(found.tableObjectId, written.tableObjectId) << name;
        EXPECT_EQ(found.id, written.id) << name;
        EXPECT_EQ(found.typeOrRootPage, written.typeOrRootPage) << name;
        EXPECT_EQ(found.rootMarker, written.rootMarker) << name;
    }

    const testdb::StoreOptions options;
    const SchemaIds& schema = store_.schema;
    EXPECT_EQ(schema.msgTableId, options.msgTableObjectId);
    EXPECT_EQ(schema.msgTableObjectId, options.msgTableObjectId);
    EXPECT_EQ(schema.foldersTableId, options.foldersTableObjectId);
    EXPECT_EQ(schema.mailboxTableId, options.mailboxTableObjectId);
    EXPECT_EQ(schema.msgLongValueId, options.msgLongValueObjectId);
    EXPECT_EQ(schema.containerClassColumn, testdb::kContainerClassColumnId);
    for (size_t c = 0; c < testdb::kMessageColumnNames.size(); ++c) {
        const std::u16string name = Utf8ToUtf16(testdb::kMessageColumnNames[c]);
        const auto at = std::find(kMessageColumnNames.begin(), kMessageColumnNames.end(), name);
        ASSERT_NE(at, kMessageColumnNames.end());
        EXPECT_EQ(schema.messageColumns[at - kMessageColumnNames.begin()],
                  testdb::MessageColumnId(static_cast<testdb::MessageColumn>(c)));
    }

    // Each item has one message record, in the order written: folder by folder.
    std::vector<const Item*> items;
    for (const Folder& folder : builder.folders()) {
        for (const Item& item : builder.ItemsOf(folder.id)) {
            items.push_back(&item);
        }
    }
    const auto& index = store_.messageIndex.entries();
    ASSERT_EQ(index.size(), items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& item = *items[i];
        const std::u16string subject =
            Utf8ToUtf16(item.kind == ItemKind::Contact ? item.contact.fullName : item.subject);
        EXPECT_EQ(index[i].itemId(), Hex(item.id)) << item.subject;
        EXPECT_EQ(index[i].dateText(), FormatFileTime(item.time));
        EXPECT_EQ(MessageColumnText(index[i].recordPosition, testdb::fixed_column::kMessageSubject),
                  subject);
    }

    // Every folder's table with items has pages; the out-of-line recipients have one page.
    for (const Folder& folder : builder.folders()) {
        const int32_t table = FolderTableObjectId(folder.id);
        ASSERT_NE(table, 0) << folder.name;
        const ObjectPageGroup* group = store_.pageGroups.Find(table);
        EXPECT_EQ(group != nullptr, !builder.ItemsOf(folder.id).empty()) << folder.name;
    }
    const ObjectPageGroup* longValues = store_.pageGroups.Find(options.msgLongValueObjectId);
    ASSERT_NE(longValues, nullptr);
    EXPECT_EQ(longValues->pageCount, 1);
}

TEST_F(WriterRoundTrip, ObjectIdsAboveTheAssumedBoundAreBelievedThroughTheHeader) {
    testdb::StoreOptions options;
    options.firstFolderTableObjectId = 3000;
    StoreBuilder builder(options);
    const EntryId mailbox = AddMailbox(builder, "Ann Walker", TextEncoding::Utf16);
    const EntryId top = AddFolder(builder, mailbox, "Top of Information Store", "");
    const EntryId inbox = AddFolder(builder, top, "Inbox", "IPF.Note");
    builder.AddItem(inbox, MakeItem(ItemKind::Mail, "Hello", 2));
    ASSERT_TRUE(Discover(builder));

    EXPECT_EQ(file_.maxObjectId, 3001);
    EXPECT_EQ(FolderTableObjectId(top), 3000);
    EXPECT_EQ(FolderTableObjectId(inbox), 3001);
    EXPECT_NE(store_.pageGroups.Find(3001), nullptr);
}

TEST_F(WriterRoundTrip, StreamingWritesTheSameBytesAsTheImageEveryTime) {
    const StoreBuilder builder = SampleStore();
    builder.WriteTo(path_);
    const std::vector<uint8_t> image = builder.Build().Bytes();
    EXPECT_EQ(FileBytes(path_), image);
    EXPECT_EQ(SampleStore().Build().Bytes(), image);
}

}  // namespace
}  // namespace velmor
