#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browsed_store.h"
#include "edb_writer/file_time.h"
#include "local_time_zone.h"

namespace velmor {
namespace {

using testdb::EntryId;
using testdb::Item;
using testdb::ItemKind;

constexpr char kTop[] = "Top of Information Store";

uint64_t April(int day, int hour, int minute) {
    return testdb::FileTimeFromUtc(2007, 4, day, hour, minute, 0);
}

Item MakeItem(ItemKind kind, std::string subject, uint64_t time) {
    Item item;
    item.kind = kind;
    item.subject = std::move(subject);
    item.time = time;
    return item;
}

Item Mail(std::string sender, std::string subject, uint64_t time) {
    Item item = MakeItem(ItemKind::Mail, std::move(subject), time);
    item.sender = std::move(sender);
    return item;
}

// One mailbox, "Mailbox - Ann Walker", with a top folder that holds the test's folders.
class ItemListingTest : public testing::Test {
protected:
    ItemListingTest() {
        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        const EntryId key = builder_.AddMailbox(mailbox);
        top_ = AddFolder(key, kTop, "");
    }
    EntryId AddFolder(const EntryId& parent, std::string name, std::string containerClass) {
        testdb::Folder folder;
        folder.parent = parent;
        folder.name = std::move(name);
        folder.containerClass = std::move(containerClass);
        return builder_.AddFolder(folder);
    }
    EntryId AddFolder(std::string name, std::string containerClass = "IPF.Note") {
        return AddFolder(top_, std::move(name), std::move(containerClass));
    }
    std::u16string PathOf(const std::string& relative) const {
        return browsed_->Folder(Utf8ToUtf16(std::string(kTop) + "\\" + relative));
    }
    // Writes and discovers the store, then lists the folder.
    std::vector<std::string> List(const std::string& relative) {
        if (!browsed_) {
            browsed_ = std::make_unique<test::BrowsedStore>(builder_);
        }
        return browsed_->Browse(PathOf(relative));
    }
    int Kind() const { return browsed_->SelectedKind(); }
    std::string Columns() const { return browsed_->list.columnSets.back(); }

    test::ScopedTimeZone utc_{"UTC0"};
    testdb::StoreBuilder builder_;
    EntryId top_{};
    std::unique_ptr<test::BrowsedStore> browsed_;
};

TEST_F(ItemListingTest, EachFolderKindListsItsColumnsImagesAndTexts) {
    builder_.AddItem(AddFolder("Inbox"), Mail("Carol Hughes", "Budget", April(10, 13, 39)));
    Item contact = MakeItem(ItemKind::Contact, "", April(1, 10, 0));
    contact.contact = {"Carol Hughes",
                       "Carol",
                       "Hughes",
                       "+1 555 0110 extension 4471",  // 26 characters: 52 bytes
                       "+1 555-0199",
                       "+44 20 7946 0000 ext 12",
                       "1 Example Plaza",
                       "carol.hughes@example.com"};
    builder_.AddItem(AddFolder("Contacts", "IPF.Contact"), contact);
    Item appointment = MakeItem(ItemKind::Appointment, "Status meeting", April(16, 9, 0));
    appointment.location = "Room 2.14";
    builder_.AddItem(AddFolder("Calendar", "IPF.Appointment"), appointment);
    builder_.AddItem(AddFolder("Tasks", "IPF.Task"),
                     MakeItem(ItemKind::Task, "Send the report", April(17, 17, 0)));
    builder_.AddItem(AddFolder("Notes", "IPF.StickyNote"),
                     MakeItem(ItemKind::StickyNote, "Call Frank", April(11, 8, 15)));
    Item journal = MakeItem(ItemKind::Journal, "Call with Henry", April(10, 11, 0));
    journal.entryType = "Phone call";
    builder_.AddItem(AddFolder("Journal", "IPF.Journal"), journal);

    EXPECT_EQ(List("Inbox"),
              std::vector<std::string>{"0|1|Carol Hughes|Budget|Tue 10/4/2007 01:39:00 PM"});
    EXPECT_EQ(Kind(), 1);
    EXPECT_EQ(Columns(), "No|From|Subject|Date/Time");

    // Contact fields come from the message table; phones are cut to 28 bytes (14 UTF-16
    // characters).
    EXPECT_EQ(List("Contacts"),
              std::vector<std::string>{"2|1|Carol Hughes|Carol|Hughes|+1 555-0199|+1 555 0110 ex|"
                                       "+44 20 7946 00|1 Example Plaza|carol.hughes@example.com"});
    EXPECT_EQ(Kind(), 6);
    EXPECT_EQ(Columns(),
              "No|Full name|First name|Last name|Home Phone No|Business Phone No|Mobile Phone "
              "No|Business Address|Email Address");

    EXPECT_EQ(List("Calendar"),
              std::vector<std::string>{"3|1|Status meeting|Room 2.14|Mon 16/4/2007 09:00:00 AM"});
    EXPECT_EQ(Kind(), 5);
    EXPECT_EQ(Columns(), "No|Subject|Location|Date");

    EXPECT_EQ(List("Tasks"),
              std::vector<std::string>{"4|1|Send the report|Tue 17/4/2007 05:00:00 PM"});
    EXPECT_EQ(Kind(), 4);
    EXPECT_EQ(Columns(), "No|Subject|Date");

    EXPECT_EQ(List("Notes"), std::vector<std::string>{"5|1|Call Frank|Wed 11/4/2007 08:15:00 AM"});
    EXPECT_EQ(Kind(), 3);
    EXPECT_EQ(Columns(), "No|Subject|Date");

    EXPECT_EQ(List("Journal"),
              std::vector<std::string>{"6|1|Call with Henry|Phone call|Tue 10/4/2007 11:00:00 AM"});
    EXPECT_EQ(Kind(), 2);
    EXPECT_EQ(Columns(), "No|Subject|Entry-Type|Date");
}

TEST_F(ItemListingTest, SentItemsAndOutboxShowRecipientsFromInLineAndOutOfLineLists) {
    const EntryId sent = AddFolder("Sent Items");
    Item inLine = Mail("Ann Walker", "Figures", April(10, 14, 2));
    inLine.recipients = {{"Carol Hughes"},
                         {"D\xC3\xA9sir\xC3\xA9 Moore", testdb::TextEncoding::Ansi}};
    builder_.AddItem(sent, inLine);
    Item outOfLine = Mail("Ann Walker", "Office closed", April(12, 17, 0));
    outOfLine.recipients = {{"Emma Fisher"}, {"Frank Norris"}, {"Grace Palmer"}};
    outOfLine.recipientStorage = testdb::RecipientStorage::OutOfLine;
    builder_.AddItem(sent, outOfLine);
    Item displayOnly = Mail("Ann Walker", "No list", April(13, 8, 0));
    displayOnly.displayTo = "Henry Quinn";
    builder_.AddItem(sent, displayOnly);
    // A reference to a long value that no page holds leaves the list read before it.
    Item dangling = Mail("Ann Walker", "Dangling", April(13, 9, 0));
    dangling.recipients = {{"Irene Shaw"}};
    dangling.displayTo = "Display only";
    dangling.recipientStorage = testdb::RecipientStorage::InLine;
    dangling.trailingRecipientReference = 0x7A7A;
    builder_.AddItem(sent, dangling);
    Item queued = Mail("Ann Walker", "Travel", April(14, 9, 0));
    queued.recipients = {{"Irene Shaw"}};
    builder_.AddItem(AddFolder("Outbox"), queued);
    AddFolder(sent, "Saved contacts", "IPF.Contact");

    EXPECT_EQ(
        List("Sent Items"),
        (std::vector<std::string>{
            "0|1|Carol Hughes,D\xC3\xA9sir\xC3\xA9 Moore|Figures|Tue 10/4/2007 02:02:00 PM",
            "0|2|Emma Fisher,Frank Norris,Grace Palmer|Office closed|Thu 12/4/2007 05:00:00 PM",
            "0|3|Henry Quinn|No list|Fri 13/4/2007 08:00:00 AM",
            "0|4|Irene Shaw|Dangling|Fri 13/4/2007 09:00:00 AM",
        }));
    EXPECT_EQ(Kind(), 7);
    EXPECT_EQ(Columns(), "No|To|Subject|Date/Time");

    EXPECT_EQ(List("Outbox"),
              std::vector<std::string>{"0|1|Irene Shaw|Travel|Sat 14/4/2007 09:00:00 AM"});
    EXPECT_EQ(Kind(), 8);
    EXPECT_EQ(Columns(), "No|To|Subject|Date/Time");

    EXPECT_TRUE(List("Sent Items\\Saved contacts").empty());
    EXPECT_EQ(Kind(), 6) << "the container class comes before the path";
}

TEST_F(ItemListingTest, OnlyARecipientValueOfFiveBytesIsReadFromTheLongValuePages) {
    // Each mail's list is stored on a long-value page; the recipient column holds its key cut
    // to 3 bytes or padded to 5. With the header byte the values are 4, 5 and 6 bytes long.
    const EntryId sent = AddFolder("Sent Items");
    for (int size = 3; size <= 5; ++size) {
        Item mail = Mail("Ann Walker", "Reference of " + std::to_string(size), April(10, 9, size));
        mail.recipients = {{"Emma Fisher"}};
        mail.displayTo = "Shown when no list is read";
        mail.recipientStorage = testdb::RecipientStorage::OutOfLine;
        mail.recipientReferenceSize = static_cast<size_t>(size);
        builder_.AddItem(sent, mail);
    }
    EXPECT_EQ(List("Sent Items"),
              (std::vector<std::string>{
                  "0|1|Shown when no list is read|Reference of 3|Tue 10/4/2007 09:03:00 AM",
                  "0|2|Emma Fisher|Reference of 4|Tue 10/4/2007 09:04:00 AM",
                  "0|3|Shown when no list is read|Reference of 5|Tue 10/4/2007 09:05:00 AM",
              }))
        << "4- and 6-byte values are decoded in place, where they hold no address entry";
}

TEST_F(ItemListingTest, SendersComeFromEitherTableAndSomeFoldersReplaceThem) {
    const EntryId inbox = AddFolder("Inbox");
    Item prefixed = Mail("Carol Hughes", "Via 258", April(10, 9, 0));
    builder_.AddItem(inbox, prefixed);
    Item stored = Mail("David Moore", "Via 264", April(10, 9, 1));
    stored.senderColumn = testdb::SenderColumn::Stored;
    builder_.AddItem(inbox, stored);
    Item addressOnly = Mail("", "Via 0x101", April(10, 9, 2));
    addressOnly.senderAddress = "emma@example.com";
    builder_.AddItem(inbox, addressOnly);
    // Kept in another folder's table, the item's message record still has its sender; a copy
    // of its id in the inbox without a sender column must find it there (column 0x100).
    Item elsewhere = Mail("Frank Norris", "Via 0x100", April(10, 9, 3));
    elsewhere.senderAddress = "frank@example.com";
    elsewhere.id = builder_.AddItem(AddFolder("Archive"), elsewhere);
    Item copy = Mail("", "Via 0x100", April(10, 9, 3));
    copy.id = elsewhere.id;
    builder_.AddItem(inbox, copy);

    const EntryId drafts = AddFolder("Drafts");
    builder_.AddItem(drafts, Mail("", "Unsent", April(11, 9, 0)));
    builder_.AddItem(drafts, Mail("Grace Palmer", "Signed", April(11, 9, 1)));
    Item flagged = Mail("Henry Quinn", "Flagged", April(12, 9, 0));
    flagged.flagged = true;
    builder_.AddItem(AddFolder("exchangeV1"), flagged);

    EXPECT_EQ(List("Inbox"), (std::vector<std::string>{
                                 "0|1|Carol Hughes|Via 258|Tue 10/4/2007 09:00:00 AM",
                                 "0|2|David Moore|Via 264|Tue 10/4/2007 09:01:00 AM",
                                 "0|3|emma@example.com|Via 0x101|Tue 10/4/2007 09:02:00 AM",
                                 "0|4|Frank Norris|Via 0x100|Tue 10/4/2007 09:03:00 AM",
                             }));
    EXPECT_EQ(List("Drafts"), (std::vector<std::string>{
                                  "0|1| Ann Walker|Unsent|Wed 11/4/2007 09:00:00 AM",
                                  "0|2|Grace Palmer|Signed|Wed 11/4/2007 09:01:00 AM",
                              }));
    EXPECT_EQ(List("exchangeV1"),
              std::vector<std::string>{"0|1|Administrator|Flagged|Thu 12/4/2007 09:00:00 AM"})
        << "the administrator folder shows no marker image";
}

TEST_F(ItemListingTest, SubjectsAndImagesFollowPrefixFallbackMarkerAndMessageClass) {
    const EntryId inbox = AddFolder("Inbox");
    Item reply = Mail("Carol Hughes", "Budget", April(10, 9, 0));
    reply.subjectPrefix = "RE: ";
    builder_.AddItem(inbox, reply);
    Item hidden = Mail("Carol Hughes", "From the message table", April(10, 9, 1));
    hidden.hideSubject = true;
    builder_.AddItem(inbox, hidden);
    builder_.AddItem(inbox, Mail("Carol Hughes", "Tab\there", April(10, 9, 2)));
    Item flagged = Mail("Carol Hughes", "Flagged", April(10, 9, 3));
    flagged.flagged = true;
    builder_.AddItem(inbox, flagged);
    const std::vector<std::string> classes = {"IPM.Contact.Custom", "IPM.Appointment",
                                              "IPM.Task",           "IPM.StickyNote",
                                              "IPM.Journal",        "IPM.Task and IPM.Contact"};
    for (const std::string& messageClass : classes) {
        Item item = Mail("Carol Hughes", messageClass, April(10, 10, 0));
        item.messageClass = messageClass;
        item.flagged = true;  // the kind's image comes first
        builder_.AddItem(inbox, item);
    }

    const auto rows = List("Inbox");
    ASSERT_EQ(rows.size(), 10u);
    const std::string date = "|Tue 10/4/2007 10:00:00 AM";
    EXPECT_EQ(rows[0], "0|1|Carol Hughes|RE: Budget|Tue 10/4/2007 09:00:00 AM");
    EXPECT_EQ(rows[1], "0|2|Carol Hughes|From the message table|Tue 10/4/2007 09:01:00 AM");
    EXPECT_EQ(rows[2], "0|3|Carol Hughes|Tab here|Tue 10/4/2007 09:02:00 AM");
    EXPECT_EQ(rows[3], "1|4|Carol Hughes|Flagged|Tue 10/4/2007 09:03:00 AM");
    EXPECT_EQ(rows[4], "2|5|Carol Hughes|IPM.Contact.Custom" + date);
    EXPECT_EQ(rows[5], "3|6|Carol Hughes|IPM.Appointment" + date);
    EXPECT_EQ(rows[6], "4|7|Carol Hughes|IPM.Task" + date);
    EXPECT_EQ(rows[7], "5|8|Carol Hughes|IPM.StickyNote" + date);
    EXPECT_EQ(rows[8], "6|9|Carol Hughes|IPM.Journal" + date);
    EXPECT_EQ(rows[9], "2|10|Carol Hughes|IPM.Task and IPM.Contact" + date);
}

TEST_F(ItemListingTest, OfItemsWithEqualIdsOnlyTheLastIsListed) {
    const EntryId inbox = AddFolder("Inbox");
    Item first = Mail("Carol Hughes", "First copy", April(10, 9, 0));
    first.id = testdb::MakeEntryId(1, 0x500);
    builder_.AddItem(inbox, first);
    builder_.AddItem(inbox, Mail("David Moore", "Single", April(10, 9, 1)));
    Item second = first;
    second.subject = "Second copy";
    builder_.AddItem(inbox, second);
    builder_.AddItem(inbox, Mail("Emma Fisher", "Last", April(10, 9, 2)));

    const EntryId contacts = AddFolder("Contacts", "IPF.Contact");
    Item contact = MakeItem(ItemKind::Contact, "", April(1, 10, 0));
    contact.id = testdb::MakeEntryId(1, 0x600);
    contact.contact.fullName = "Carol Hughes";
    builder_.AddItem(contacts, contact);
    builder_.AddItem(contacts, contact);

    EXPECT_EQ(List("Inbox"), (std::vector<std::string>{
                                 "0|1|David Moore|Single|Tue 10/4/2007 09:01:00 AM",
                                 "0|2|Carol Hughes|Second copy|Tue 10/4/2007 09:00:00 AM",
                                 "0|3|Emma Fisher|Last|Tue 10/4/2007 09:02:00 AM",
                             }));
    EXPECT_EQ(List("Contacts"), std::vector<std::string>{"2|1|Carol Hughes|||||||"});
}

}  // namespace
}  // namespace velmor
