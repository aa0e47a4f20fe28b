#include "cli/mailbox_tree.h"

#include <charconv>
#include <cstdio>

#include "browse/browse_worker.h"
#include "browse/folder_tree_population.h"
#include "browse/tree_item_path.h"
#include "cli/plain_text.h"
#include "cli/streaming_entry.h"
#include "edb/text_codec.h"
#include "streaming/carve_progress.h"
#include "streaming/store_mail_matching.h"

namespace velmor::cli {

namespace {

// The index of the mailbox row numbered text (1, 2, ...), or -1 when there is no such row.
int RowIndex(const std::string& text, size_t rowCount) {
    size_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size() || number < 1 ||
        number > rowCount) {
        return -1;
    }
    return static_cast<int>(number - 1);
}

}  // namespace

int UsageError(const std::string& message) {
    std::fprintf(stderr, "velmor-cli: %s\n", message.c_str());
    return kExitUsage;
}

int MailboxTree::Load(const CliOptions& options) {
    const std::string& mailboxRow = options.arguments[1];
    const StreamingFileChoice streaming = StreamingFileOf(options);
    if (streaming.refused || !session_.Open(options.arguments[0]) || !session_.Discover()) {
        return kExitFailure;
    }
    const auto& rows = session_.progress().mailboxRows();
    const auto& streamingFile = streaming.file;
    streamingFile_ = streamingFile;
    const int row = RowIndex(mailboxRow, rows.size() + (streamingFile ? 1 : 0));
    if (row < 0) {
        return UsageError("no mailbox row '" + mailboxRow + "'; see velmor-cli mailboxes");
    }
    if (static_cast<size_t>(row) == rows.size()) {
        if (!CarveAndMatch(*streamingFile)) {
            std::fprintf(stderr, "velmor-cli: cannot read the streaming file %s\n",
                         streamingFile->c_str());
            return kExitFailure;
        }
        streamingEntry_ = true;
        rootLabel_ = kStreamingEntryName;
        return kExitOk;
    }
    rootLabel_ = rows[static_cast<size_t>(row)].name;
    ProcessingContext& context = session_.context();
    PopulateFolderTree(tree_, context.store, context.sink, rootLabel_);
    session_.progress().Finish();
    return kExitOk;
}

bool MailboxTree::CarveAndMatch(const std::filesystem::path& streamingFile) {
    carved_ = true;
    ProcessingContext& context = session_.context();
    const bool read =
        recoveredMessages_.Load(streamingFile, {}, ShowCarveProgress(context.sink, {}));
    session_.progress().Finish();
    if (!read) {
        return false;
    }
    MatchStoreMails(context, recoveredMessages_);
    return true;
}

RecoveredMessages& MailboxTree::recoveredMessages() {
    if (!carved_ && streamingFile_) {
        CarveAndMatch(*streamingFile_);
    }
    return recoveredMessages_;
}

int MailboxTree::ListFolder(const std::string& path, PlainItemList& list, int& folderKind) {
    const TreeItem item = FindItem(path);
    if (item == kNoTreeItem) {
        return UsageError("no folder with the path '" + path + "'; see velmor-cli folders");
    }
    ProcessingContext& context = session_.context();
    BrowseJobState state;
    SelectFolderForBrowsing(tree_, context.store.folderViews, item, state);
    BrowseWorker(context, list, state);
    session_.progress().Finish();
    folderKind = state.Selection().folderKind;
    return kExitOk;
}

TreeItem MailboxTree::FindItem(const std::string& path) const {
    const std::u16string exact = Utf8ToUtf16(path);
    TreeItem printed = kNoTreeItem;
    for (TreeItem item : tree_.AllItems()) {
        const std::u16string itemPath = TreeItemPath(tree_, item);
        if (itemPath == exact) {
            return item;
        }
        if (printed == kNoTreeItem && PlainText(itemPath) == path) {
            printed = item;
        }
    }
    return printed;
}

}  // namespace velmor::cli
