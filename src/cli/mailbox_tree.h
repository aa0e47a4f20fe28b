#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "browse/plain_folder_tree.h"
#include "browse/plain_item_list.h"
#include "cli/cli_options.h"
#include "cli/cli_session.h"
#include "streaming/recovered_messages.h"

namespace velmor::cli {

// The folder tree of one mailbox row, built as the wizard builds it when Next is pressed on
// the mailbox step.
class MailboxTree {
public:
    // Opens FILE, runs the discovery and populates the tree of row MAILBOX (the number that
    // the mailboxes command prints). The exit status: kExitOk when the tree is ready.
    // The row after the mailboxes' is the streaming entry when options name or find a
    // streaming file: its messages are carved instead.
    int Load(const CliOptions& options);

    // Whether the row is the streaming entry's, and its messages.
    bool streamingEntry() const { return streamingEntry_; }
    // The streaming file's messages, those that match a mail of the store taken out. On a
    // mailbox row they are carved and matched on first use, and none when there is no
    // streaming file or it cannot be read.
    RecoveredMessages& recoveredMessages();
    // The streaming file named or found beside FILE, if any.
    const std::optional<std::filesystem::path>& streamingFile() const { return streamingFile_; }

    CliSession& session() { return session_; }
    const PlainFolderTree& tree() const { return tree_; }
    const std::u16string& rootLabel() const { return rootLabel_; }

    // The first item, depth first, whose tree path is path (UTF-8); else the first whose path
    // as plain output prints it is path; none when no item has either.
    TreeItem FindItem(const std::string& path) const;

    // Lists the folder whose tree path is path (as FindItem takes it) into list, as a browse
    // job does, and gives its folder kind. The exit status: a usage error, reported, when no
    // folder has the path.
    int ListFolder(const std::string& path, PlainItemList& list, int& folderKind);

private:
    // Carves the streaming file and matches its messages to the store's mails.
    bool CarveAndMatch(const std::filesystem::path& streamingFile);

    CliSession session_;
    PlainFolderTree tree_;
    std::u16string rootLabel_;
    bool streamingEntry_ = false;
    std::optional<std::filesystem::path> streamingFile_;
    bool carved_ = false;
    RecoveredMessages recoveredMessages_;
};

// Reports a usage error on stderr and gives its exit status.
int UsageError(const std::string& message);

}  // namespace velmor::cli
