// The workers that run beside the user-interface thread, run on threads of their own the way
// the wizard starts them, for ThreadSanitizer to watch (scripts/tsan.sh).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "browse/browse_job_threads.h"
#include "browse/folder_kind.h"
#include "browse/tree_clearing.h"
#include "browsed_store.h"
#include "discovery/discovery_worker.h"
#include "discovery/null_progress_sink.h"
#include "edb_writer/demo_store.h"

namespace velmor {
namespace {

constexpr int kPartCount = 7;

// A stop asked from another thread at the start of each processing part, then a full run
// after the store is reset: the worker's reports and the stop flag cross threads.
TEST(WorkerThreadsTest, TheDiscoveryWorkerStopsWhenAskedFromAnotherThread) {
    test::TempDir tmp;
    const test::ScopedTmpDir tmpDir(tmp.path());
    test::OpenedDatabase db(testdb::BuildDemoStore());
    for (int part = 1; part <= kPartCount + 1; ++part) {
        test::HookedSink sink;
        std::atomic<bool> reached{false};
        std::atomic<bool> asked{false};
        const std::string announcement = "Processing Part " + std::to_string(part) + "/";
        sink.onCall = [&](const std::string& call) {
            if (call.find(announcement) != std::string::npos && !reached) {
                reached = true;
                while (!asked) {  // the worker goes on only once the stop is asked
                    std::this_thread::yield();
                }
            }
        };
        ProcessingContext context{db.file, db.store, sink, db.stop};
        test::RecordingWizard wizard;
        std::thread worker([&] { DiscoveryWorker(context, wizard); });
        if (part <= kPartCount) {
            while (!reached) {
                std::this_thread::yield();
            }
            db.stop.request();
        }
        asked = true;
        worker.join();
        EXPECT_EQ(reached, part <= kPartCount);
        EXPECT_FALSE(db.stop.isSet()) << "the worker clears the flag when it ends";
        if (part > kPartCount) {
            EXPECT_EQ(db.store.mailboxes.entries().size(), 2u);
        }
        db.store.ResetStore();
    }
}

// Browse jobs started in quick succession while the tree population still appends the folder
// view nodes that the jobs look up; then the tree is cleared and populated again on worker
// threads, as Back and Next do.
TEST(WorkerThreadsTest, BrowseJobsRunWhileTheTreeIsPopulated) {
    test::TempDir tmp;
    const test::ScopedTmpDir tmpDir(tmp.path());
    test::OpenedDatabase db(testdb::BuildDemoStore());
    ASSERT_TRUE(RunProcessingParts(db.context));
    const std::u16string root = db.store.mailboxes.entries().front().displayName;
    const std::u16string top = root + kPathSeparator + u"Top of Information Store";
    const std::vector<BrowseSelection> selections = {
        {top + kPathSeparator + u"Inbox" + kPathSeparator, kMailFolder},
        {top + kPathSeparator + u"Contacts" + kPathSeparator, kContactFolder},
        {top + kPathSeparator + u"Calendar" + kPathSeparator, kAppointmentFolder},
        {top + kPathSeparator + u"Tasks" + kPathSeparator, kTaskFolder},
    };
    for (int round = 0; round < 3; ++round) {
        PlainFolderTree tree;
        NullProgressSink treeSink;
        std::thread population([&] { PopulateFolderTree(tree, db.store, treeSink, root); });
        {
            test::RecordingItemList list;
            BrowseJobState state;
            BrowseJobThreads jobs(db.context, list, state);
            for (const BrowseSelection& selection : selections) {
                state.Select(selection);
                jobs.Start();
            }
        }
        population.join();
        std::thread clearing([&] { ClearFolderTree(tree, db.store, treeSink); });
        clearing.join();
        EXPECT_TRUE(tree.AllItems().empty());
    }
}

}  // namespace
}  // namespace velmor
