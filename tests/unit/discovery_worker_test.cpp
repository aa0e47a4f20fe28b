#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/discovery_worker.h"
#include "discovery/page_grouping.h"
#include "discovery/processing_driver.h"
#include "edb/text_codec.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::Folder;
using testdb::Item;
using testdb::Mailbox;
using testdb::StoreBuilder;

// Two mailboxes with a few folders each and one mail per folder; extraFolders more folders
// spread the catalog over more pages.
StoreBuilder SmallStore(int extraFolders = 0) {
    StoreBuilder builder;
    int mailCounter = 0;
    for (const char* name : {"Ann Smith", "Mailbox - Bob Jones"}) {
        const auto key = builder.AddMailbox(Mailbox{name});
        for (const char* folderName : {"Inbox", "Sent Items", "Contacts"}) {
            Folder folder;
            folder.parent = key;
            folder.name = folderName;
            folder.containerClass =
                std::string(folderName) == "Contacts" ? "IPF.Contact" : "IPF.Note";
            const auto folderId = builder.AddFolder(folder);
            Item mail;
            mail.subject = "Mail " + std::to_string(++mailCounter);
            mail.sender = "Carol Hughes";
            mail.time = testdb::FileTimeFromUtc(2007, 10, 4, 8, 0, 0);
            builder.AddItem(folderId, mail);
        }
        for (int i = 0; i < extraFolders; ++i) {
            Folder folder;
            folder.parent = key;
            folder.name = "Project " + std::to_string(i);
            builder.AddFolder(folder);
        }
    }
    return builder;
}

// Records calls and asks for a stop when a given call arrives after a given earlier one.
class StoppingSink : public test::RecordingSink {
public:
    StoppingSink(StopFlag& stop, std::string after, std::string at)
        : stop_(stop), after_(std::move(after)), at_(std::move(at)) {}

protected:
    void Add(std::string call) override {
        armed_ = armed_ || call == after_;
        if (armed_ && call == at_) {
            stop_.request();
            armed_ = false;
        }
        calls.push_back(std::move(call));
    }

private:
    StopFlag& stop_;
    std::string after_;
    std::string at_;
    bool armed_ = false;
};

std::string PartStatus(int part) {
    return "SetScanStatus Processing Part " + std::to_string(part) + "/7...";
}

class DiscoveryWorkerTest : public testing::Test {
protected:
    test::TempDir tmp_;
    test::ScopedTmpDir tmpDir_{tmp_.path()};
    test::RecordingWizard wizard_;
};

TEST_F(DiscoveryWorkerTest, AFullRunAnnouncesEachPartAndEndsOnTheMailboxStep) {
    test::OpenedDatabase db(SmallStore());
    DiscoveryWorker(db.context, wizard_);

    EXPECT_TRUE(wizard_.messages.empty());
    EXPECT_EQ(wizard_.step, 2);
    EXPECT_EQ(wizard_.stepNotifications, 0);
    EXPECT_TRUE(wizard_.discoveryJobCleared);
    EXPECT_FALSE(db.stop.isSet());

    EXPECT_EQ(
        db.sink.Matching("SetScanStatus"),
        (std::vector<std::string>{
            PartStatus(1), PartStatus(2), PartStatus(3), PartStatus(4), PartStatus(5),
            "SetScanStatus Scanning File for Items.Please wait...", PartStatus(6), PartStatus(7)}));
    std::vector<std::string> help = {"SetHelpText " + Utf16ToUtf8(kProcessingHelpText)};
    for (int part = 1; part <= 7; ++part) {
        help.push_back(
            "SetHelpText Processing File for Mailboxes,Folders and Items (Processing "
            "Part " +
            std::to_string(part) + "/7)...");
    }
    help.push_back("SetHelpText " + Utf16ToUtf8(kSelectMailboxHelpText));
    EXPECT_EQ(db.sink.Matching("SetHelpText"), help);
    EXPECT_EQ(db.sink.Matching("RedrawHelpText").size(), 8u);

    const std::vector<std::string> head(db.sink.calls.begin(), db.sink.calls.begin() + 4);
    EXPECT_EQ(head, (std::vector<std::string>{"ShowButton Stop", "HideButton Back",
                                              "HideButton Next", "EnableButton Stop 1"}));
    const std::vector<std::string> tail(db.sink.calls.end() - 5, db.sink.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"HideProgress", "HideScanStatus", "HideButton Stop",
                                              "ShowButton Back", "ShowButton Next"}));

    // The driver's own positions, in order, against the ranges the parts left.
    std::vector<std::string> driverPositions;
    for (const std::string& call : db.sink.calls) {
        for (const char* position : {"65", "70", "90", "100"}) {
            if (call == std::string("SetProgressPosition ") + position) {
                driverPositions.push_back(position);
            }
        }
    }
    EXPECT_EQ(driverPositions, (std::vector<std::string>{"65", "70", "90", "100"}));

    EXPECT_EQ(db.sink.Matching("SetMailboxRowName"),
              (std::vector<std::string>{"SetMailboxRowName 0 Mailbox - Ann Smith",
                                        "SetMailboxRowName 1 Mailbox - Bob Jones"}));
    EXPECT_EQ(db.store.mailboxes.entries().size(), 2u);
    EXPECT_EQ(db.store.folderCount(), 6u);
    EXPECT_EQ(db.store.messageIndex.size(), 6u);
    EXPECT_EQ(db.store.listedMailboxCount, 2u);
    EXPECT_TRUE(test::HoldsMessageTemplate(tmp_.path()));
}

// The run that finds nothing after part `part` shows "No User Found" and returns to step 1.
void ExpectNoUserFoundAfterPart(test::OpenedDatabase& db, test::RecordingWizard& wizard, int part) {
    DiscoveryWorker(db.context, wizard);
    EXPECT_EQ(wizard.messages, (std::vector<std::string>{"No User Found"}));
    EXPECT_EQ(wizard.step, 1);
    EXPECT_EQ(wizard.stepNotifications, 1);
    EXPECT_EQ(db.sink.calls.back(), "HideButton Back");
    EXPECT_TRUE(db.store.pageGroups.empty());
    EXPECT_EQ(db.sink.Matching("SetScanStatus Processing Part").back(), PartStatus(part));
    EXPECT_TRUE(db.sink.Matching("InsertMailboxRow").empty());
}

TEST_F(DiscoveryWorkerTest, NothingFoundAfterPartOneTwoOrFourEndsWithNoUserFound) {
    {
        testdb::DatabaseImage image;
        image.SetHighestObjectId(5);
        for (int i = 0; i < 20; ++i) {
            image.AppendPage(testdb::Page(6 + i));
        }
        test::OpenedDatabase db(image);
        ExpectNoUserFoundAfterPart(db, wizard_, 1);
    }
    {
        wizard_ = test::RecordingWizard{};
        testdb::DatabaseImage image;
        for (int i = 0; i < 20; ++i) {
            image.AppendPage(testdb::Page(2 + i % 2));
        }
        test::OpenedDatabase db(image);
        ExpectNoUserFoundAfterPart(db, wizard_, 2);
    }
    {
        wizard_ = test::RecordingWizard{};
        StoreBuilder builder;
        Folder orphan;
        orphan.parent = testdb::MakeEntryId(1, 99);
        orphan.name = "Orphan";
        builder.AddFolder(orphan);
        test::OpenedDatabase db(builder);
        ExpectNoUserFoundAfterPart(db, wizard_, 4);
    }
}

TEST_F(DiscoveryWorkerTest, AStopDuringTheCatalogScanEndsQuietlyWithBackHidden) {
    test::OpenedDatabase db(SmallStore(120));
    StoppingSink sink(db.stop, PartStatus(2), "SetProgressPosition 2");
    ProcessingContext context{db.file, db.store, sink, db.stop};
    DiscoveryWorker(context, wizard_);

    EXPECT_TRUE(wizard_.messages.empty()) << "the first catalog page held records";
    EXPECT_EQ(wizard_.step, 2);
    EXPECT_FALSE(db.stop.isSet());
    EXPECT_EQ(sink.Matching("SetScanStatus Processing Part").back(), PartStatus(2));
    EXPECT_EQ(sink.calls.back(), "HideButton Back");
    EXPECT_FALSE(db.store.catalog.empty());
}

TEST_F(DiscoveryWorkerTest, AStopAfterTheMailboxesAreListedKeepsThemAndBack) {
    test::OpenedDatabase db(SmallStore());
    StoppingSink sink(db.stop, PartStatus(5), PartStatus(6));
    ProcessingContext context{db.file, db.store, sink, db.stop};
    DiscoveryWorker(context, wizard_);

    EXPECT_TRUE(wizard_.messages.empty());
    EXPECT_EQ(wizard_.step, 2);
    EXPECT_EQ(sink.Matching("SetMailboxRowName").size(), 2u);
    EXPECT_EQ(sink.calls.back(), "ShowButton Next");
    EXPECT_TRUE(sink.Matching("SetScanStatus Processing Part 7").empty());
    EXPECT_TRUE(db.store.messageIndex.empty());
    EXPECT_FALSE(db.stop.isSet());
}

TEST_F(DiscoveryWorkerTest, AStopBeforeTheWorkerBeginsLeavesEverythingElseAlone) {
    test::OpenedDatabase db(SmallStore());
    db.stop.request();
    DiscoveryWorker(db.context, wizard_);
    EXPECT_EQ(db.sink.calls,
              (std::vector<std::string>{"ShowButton Stop", "HideButton Back", "HideButton Next"}));
    EXPECT_FALSE(wizard_.discoveryJobCleared);
}

TEST_F(DiscoveryWorkerTest, ResettingTheStoreLetsASecondDatabaseStartFromNothing) {
    test::OpenedDatabase first(SmallStore());
    DiscoveryWorker(first.context, wizard_);
    ASSERT_EQ(first.store.mailboxes.entries().size(), 2u);

    first.store.ResetStore();
    EXPECT_TRUE(first.store.pageGroups.empty());
    EXPECT_TRUE(first.store.catalog.empty());
    EXPECT_TRUE(first.store.mailboxes.empty());
    EXPECT_EQ(first.store.folderCount(), 0u);
    EXPECT_TRUE(first.store.messageIndex.empty());
    EXPECT_EQ(first.store.schema.msgTableId, 0);
    EXPECT_EQ(first.store.schema.foldersTableId, 0);

    StoreBuilder other;
    other.AddMailbox(Mailbox{"Mailbox - Zed"});
    test::OpenedDatabase second(other);
    ProcessingContext context{second.file, first.store, second.sink, second.stop};
    DiscoveryWorker(context, wizard_);
    ASSERT_EQ(first.store.mailboxes.entries().size(), 1u);
    EXPECT_EQ(first.store.mailboxes.entries()[0].displayName, u"Mailbox - Zed");
}

}  // namespace
}  // namespace velmor
