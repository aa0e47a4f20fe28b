// Times the browsing side on a store whose largest mailbox holds over 10,000 folders and whose
// largest folder holds over 100,000 mails: the folder tree population of the largest mailbox
// and the browse job (scan and listing) of the largest folder, with peak memory.
//
//   velmor_bench_browse write PATH     writes the store
//   velmor_bench_browse measure PATH   prints the figures

#include <cstdio>
#include <string>

#include "bench_command.h"
#include "bench_store.h"
#include "browse/browse_worker.h"
#include "browse/folder_tree_population.h"
#include "browse/plain_folder_tree.h"
#include "browse/plain_item_list.h"
#include "browse/tree_item_path.h"
#include "discovery/null_progress_sink.h"
#include "discovery/processing_driver.h"
#include "edb/text_codec.h"
#include "store_footprint.h"

namespace {

using velmor::bench::Clock;
using velmor::bench::kMiB;
constexpr int kRounds = 3;

// Mailbox "User 0" holds the large folder (its Inbox), mailbox "User 1" the many folders.
constexpr velmor::bench::BenchStoreShape kShape{20, 10, 45, 10'000, 100'000};
constexpr char16_t kLargeFolderMailbox[] = u"Mailbox - User 0";
constexpr char16_t kLargeFolderPath[] = u"Mailbox - User 0\\Top of Information Store\\Inbox\\";
constexpr char16_t kManyFoldersMailbox[] = u"Mailbox - User 1";

int Write(const char* path) {
    return velmor::bench::WriteAndReport(path, kShape);
}

struct Session {
    velmor::EdbFile file;
    velmor::RecoveredStore store;
    velmor::NullProgressSink sink;
    velmor::StopFlag stop;
    velmor::ProcessingContext context{file, store, sink, stop};
};

// Builds the mailbox's tree; the number of folder nodes.
size_t Populate(Session& session, velmor::PlainFolderTree& tree, const std::u16string& label) {
    session.store.folderViews.Clear();
    tree.DeleteAllItems();
    velmor::PopulateFolderTree(tree, session.store, session.sink, label);
    size_t nodes = 0;
    session.store.folderViews.ForEach([&](const velmor::FolderViewNode&) {
        ++nodes;
        return true;
    });
    return nodes;
}

int Measure(const char* path) {
    Session session;
    if (session.file.OpenDatabase(path) != 0) {
        std::fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    auto start = Clock::now();
    velmor::RunProcessingParts(session.context);
    const double discovery = velmor::bench::SecondsSince(start);

    double bestTree = 1e9;
    double bestJob = 1e9;
    size_t manyFolders = 0;
    size_t rows = 0;
    for (int round = 0; round < kRounds; ++round) {
        velmor::PlainFolderTree tree;
        start = Clock::now();
        manyFolders = Populate(session, tree, kManyFoldersMailbox);
        bestTree = std::min(bestTree, velmor::bench::SecondsSince(start));

        Populate(session, tree, kLargeFolderMailbox);
        velmor::TreeItem largeFolder = velmor::kNoTreeItem;
        for (velmor::TreeItem item : tree.AllItems()) {
            if (velmor::TreeItemPath(tree, item) == kLargeFolderPath) {
                largeFolder = item;
            }
        }
        velmor::BrowseJobState state;
        velmor::PlainItemList list;
        velmor::SelectFolderForBrowsing(tree, session.store.folderViews, largeFolder, state);
        start = Clock::now();
        velmor::BrowseWorker(session.context, list, state);
        bestJob = std::min(bestJob, velmor::bench::SecondsSince(start));
        rows = list.rows().size();
    }
    std::printf("store:               %.1f MiB, %zu mailboxes, %zu folders, %zu messages\n",
                session.file.fileSize() / kMiB, session.store.mailboxes.entries().size(),
                session.store.folders.size(), session.store.messageIndex.size());
    std::printf("discovery:           %.3f s\n", discovery);
    std::printf("folder tree:         %.3f s  (%zu folders of %s)\n", bestTree, manyFolders,
                velmor::Utf16ToUtf8(kManyFoldersMailbox).c_str());
    std::printf("browse job:          %.3f s  (%zu rows of %s)\n", bestJob, rows,
                velmor::Utf16ToUtf8(kLargeFolderPath).c_str());
    std::printf("peak memory:         %.1f MiB\n", velmor::bench::PeakResidentBytes() / kMiB);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return velmor::bench::RunBenchCommand(argc, argv, "velmor_bench_browse", Write, Measure);
}
