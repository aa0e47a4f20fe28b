#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "browse/folder_tree.h"
#include "browse/item_list.h"
#include "browse/message_content.h"
#include "export/export_record.h"
#include "export/recovered_messages_export.h"
#include "search/search_index.h"
#include "streaming/recovered_messages.h"
#include "wizard/mailbox_page_port.h"
#include "wizard/message_attachments.h"

namespace velmor::ui {

// The streaming file's messages in the wizard: chosen in step 1, carved with the discovery,
// the extra row "Recovered from the streaming file" below the mailboxes in step 2 and, when
// that row is opened, a tree of one mail folder whose messages list, open and export.
class StreamingEntryFlow {
public:
    // Step 1's Next: the path of the streaming-file box; empty chooses none.
    void Choose(const std::u16string& path);
    // On the discovery worker, once the discovery has found mailboxes: carves the chosen file,
    // with the progress bar and a status line. A stop keeps the messages carved up to it, as
    // the discovery keeps the mailboxes listed; the row follows when the file reads and, after
    // a stop, when some message was carved.
    void Carve(ProcessingContext& context);
    // Then: the messages that match mails of the store leave the entry and lend those mails
    // their bodies and attachments.
    void Match(ProcessingContext& context);
    // Once the discovery has listed mailboxes: the entry's row below them.
    void AddRow(MailboxPagePort& page);
    bool IsEntryRow(int row) const { return row >= 0 && row == row_; }
    // The file chosen when it could not be read, for the message that says so.
    std::optional<std::filesystem::path> UnreadableFile() const;

    // Step 2's Next on the entry's row: the entry as the tree's root with its one mail folder.
    void ShowTree(FolderTree& tree);
    bool open() const { return open_; }
    // Back from step 3.
    void Close();
    // Back to step 1: the file and its messages are forgotten.
    void Reset();

    // A folder chosen in the tree: its messages when it is the entry's mail folder, else none.
    void ListFolder(TreeItem item, ItemList& list);
    // The folder chosen last listed again, after a search.
    void ListAgain(ItemList& list) { ListFolder(listed_, list); }
    // The message of a listed row by its item id, and its attachments.
    std::optional<MessageContent> Read(const std::u16string& itemId);
    std::optional<MessageAttachments> Attachments(const std::u16string& itemId);
    // A mail of the store that matched a message: its body and its attachments from there.
    bool UseOriginal(MessageContent& content, const std::u16string& itemId);
    std::optional<MessageAttachments> OriginalAttachments(const std::u16string& itemId);
    // Gives a mailbox's search the streaming file and its matched originals, whose bodies and
    // attachment names are indexed; nothing without a carve. The messages must outlive the
    // search's build.
    void AddToSearch(SearchIndexOptions& options);
    // The entry's messages, for a search of the entry while it is open; none without a carve.
    RecoveredMessages* EntryMessages() { return carved_ && open_ ? &*messages_ : nullptr; }
    // What completes an exported mail record with its original; empty without a carve.
    std::function<void(ExportRecord&, const ListedItem&)> RecordCompletion();
    // Writes the messages in the formats below directory, as a mailbox's mail folder.
    RecoveredExportResult Export(const std::filesystem::path& directory,
                                 const ExportFormats& formats, const EdbFile* database,
                                 const std::function<bool()>& stopRequested);

private:
    std::optional<size_t> IndexOf(const std::u16string& itemId) const;

    std::optional<std::filesystem::path> file_;
    bool carved_ = false;
    bool unreadable_ = false;
    std::optional<RecoveredMessages> messages_;  // once carved
    int row_ = -1;
    bool open_ = false;
    TreeItem folder_ = kNoTreeItem;
    TreeItem listed_ = kNoTreeItem;  // the folder chosen last while open
};

}  // namespace velmor::ui
