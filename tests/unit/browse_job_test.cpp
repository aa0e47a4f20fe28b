#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "browse/browse_job_threads.h"
#include "browsed_store.h"

namespace velmor {
namespace {

using namespace std::chrono_literals;
using testdb::EntryId;
using testdb::Item;

constexpr char kMailColumns[] = "No|From|Subject|Date/Time";
constexpr char kContactColumns[] =
    "No|Full name|First name|Last name|Home Phone No|Business Phone No|Mobile Phone No|Business "
    "Address|Email Address";
constexpr char kTaskColumns[] = "No|Subject|Date";
constexpr size_t kMailCount = 60;  // enough for several pages of the inbox's table
constexpr size_t kContactCount = 5;

// A one-shot gate that one thread opens and others wait for.
class Gate {
public:
    void Open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }
    void Wait() {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

testdb::StoreBuilder ThreeFolderStore() {
    testdb::StoreBuilder builder;
    testdb::Mailbox mailbox;
    mailbox.name = "Ann Walker";
    testdb::Folder top;
    top.parent = builder.AddMailbox(mailbox);
    top.name = "Top";
    const EntryId topId = builder.AddFolder(top);
    auto folder = [&](const char* name, const char* containerClass) {
        testdb::Folder entry;
        entry.parent = topId;
        entry.name = name;
        entry.containerClass = containerClass;
        return builder.AddFolder(entry);
    };
    const EntryId inbox = folder("Inbox", "IPF.Note");
    const EntryId contacts = folder("Contacts", "IPF.Contact");
    const EntryId tasks = folder("Tasks", "IPF.Task");
    for (size_t i = 0; i < kMailCount; ++i) {
        Item mail;
        mail.subject = "Mail " + std::to_string(i + 1);
        mail.sender = "Carol Hughes";
        builder.AddItem(inbox, mail);
    }
    for (size_t i = 0; i < kContactCount; ++i) {
        Item contact;
        contact.kind = testdb::ItemKind::Contact;
        contact.contact.fullName = "Contact " + std::to_string(i + 1);
        builder.AddItem(contacts, contact);
    }
    Item task;
    task.kind = testdb::ItemKind::Task;
    task.subject = "The only task";
    builder.AddItem(tasks, task);
    return builder;
}

class BrowseJobTest : public testing::Test {
protected:
    std::u16string Inbox() const { return store_.Folder(u"Top\\Inbox"); }
    std::u16string Contacts() const { return store_.Folder(u"Top\\Contacts"); }
    std::u16string Tasks() const { return store_.Folder(u"Top\\Tasks"); }

    // True during the scan of the folder's pages, after its first page.
    static bool ScanProgress(const std::string& call) {
        return call.starts_with("SetItemProgressPosition ") &&
               call != "SetItemProgressPosition 0" && std::stoi(call.substr(24)) < 60;
    }
    // The calls that end every job, whether it ran out or was stopped.
    std::vector<std::string> LastCalls(size_t count) const {
        const auto& calls = store_.sink.calls;
        return {calls.end() - static_cast<std::ptrdiff_t>(count), calls.end()};
    }
    void ExpectEndedCleanly() {
        EXPECT_EQ(LastCalls(5),
                  (std::vector<std::string>{"HideItemStatus", "HideItemProgress", "HideButton Stop",
                                            "ShowButton Back", "ShowButton Next"}));
        EXPECT_FALSE(store_.stop().isSet());
        EXPECT_FALSE(store_.state.JobRunning());
        store_.store().folderViews.ForEach([](const FolderViewNode& node) {
            EXPECT_TRUE(std::holds_alternative<std::monostate>(node.items)) << "items not freed";
            return true;
        });
    }

    test::BrowsedStore store_{ThreeFolderStore()};
};

TEST_F(BrowseJobTest, AStopDuringTheScanLeavesTheListEmptyAndTheNextJobWorks) {
    store_.sink.onCall = [&](const std::string& call) {
        if (ScanProgress(call)) {
            store_.stop().request();
        }
    };
    EXPECT_TRUE(store_.Browse(Inbox()).empty());
    ExpectEndedCleanly();

    store_.sink.onCall = nullptr;
    EXPECT_EQ(store_.Browse(Inbox()).size(), kMailCount);
    ExpectEndedCleanly();
}

TEST_F(BrowseJobTest, AStopDuringTheListingKeepsTheRowsListedSoFar) {
    store_.list.onInsert = [&](int row) {
        if (row == 1) {
            store_.stop().request();
        }
    };
    EXPECT_EQ(store_.Browse(Inbox()).size(), 2u);
    ExpectEndedCleanly();
    EXPECT_EQ(store_.Browse(Contacts()).size(), 2u);
    ExpectEndedCleanly();
}

TEST_F(BrowseJobTest, AStopQuestionPausesTheJobNoLetsItGoOnYesEndsIt) {
    for (const bool yes : {false, true}) {
        std::thread answer;
        store_.sink.onCall = [&](const std::string& call) {
            if (ScanProgress(call) && !answer.joinable()) {
                store_.stop().openQuestion();
                answer = std::thread([&] {
                    std::this_thread::sleep_for(20ms);
                    store_.stop().closeQuestion(yes);
                });
            }
        };
        const auto rows = store_.Browse(Inbox());
        ASSERT_TRUE(answer.joinable()) << "the question was never asked";
        answer.join();
        EXPECT_EQ(rows.size(), yes ? 0u : kMailCount) << (yes ? "Yes" : "No");
        ExpectEndedCleanly();
    }
}

TEST_F(BrowseJobTest, SelectionsInQuickSuccessionEndTheRunningJobAndListTheLastOne) {
    for (const bool third : {false, true}) {
        store_.list.columnSets.clear();
        Gate firstJobScanning;
        Gate release;
        bool held = false;
        store_.sink.onCall = [&](const std::string& call) {
            if (ScanProgress(call) && !held) {
                held = true;
                firstJobScanning.Open();
                release.Wait();
            }
        };
        {
            BrowseJobThreads jobs(store_.context(), store_.list, store_.state);
            store_.Select(Inbox());
            jobs.Start();
            firstJobScanning.Wait();
            store_.Select(Contacts());
            jobs.Start();
            if (third) {
                store_.Select(Tasks());
                jobs.Start();
            }
            while (!store_.stop().isSet()) {
                std::this_thread::yield();
            }
            release.Open();
        }
        const std::vector<std::string> waiting(third ? 2 : 1,
                                               third ? kTaskColumns : kContactColumns);
        std::vector<std::string> expected = {kMailColumns};
        expected.insert(expected.end(), waiting.begin(), waiting.end());
        EXPECT_EQ(store_.list.columnSets, expected);
        EXPECT_EQ(store_.list.rows().size(), third ? 1u : kContactCount);
        ExpectEndedCleanly();
    }
}

TEST_F(BrowseJobTest, AnItemWithoutAFolderNodeGetsTheMailColumnsAndNoRows) {
    EXPECT_TRUE(store_.Browse(store_.rootLabel() + u"\\").empty());
    EXPECT_EQ(store_.SelectedKind(), 0);
    EXPECT_EQ(store_.list.columnSets.back(), kMailColumns);
    ExpectEndedCleanly();
}

}  // namespace
}  // namespace velmor
