#include "wizard/streaming_entry_flow.h"

#include <charconv>

#include "browse/insert_folder_item.h"
#include "browse/item_images.h"
#include "edb/text_codec.h"
#include "export/carved_original_record.h"
#include "items/item_records.h"
#include "streaming/carve_progress.h"
#include "streaming/matched_message_content.h"
#include "streaming/recovered_message_rows.h"
#include "streaming/store_mail_matching.h"

namespace velmor::ui {

namespace {

constexpr char16_t kMailFolderClass[] = u"IPF.Note";
constexpr int kEntryRowImage = 0;
// Item list widths of the entry's columns, as the mail folders' first four.
constexpr int kColumnWidths[] = {60, 150, 230, 180, 90, 160};

}  // namespace

void StreamingEntryFlow::Choose(const std::u16string& path) {
    Reset();
    if (!path.empty()) {
        file_ = std::filesystem::path(Utf16ToUtf8(path));
    }
}

void StreamingEntryFlow::Carve(ProcessingContext& context) {
    if (!file_) {
        return;
    }
    messages_.emplace();
    unreadable_ = !messages_->Load(
        *file_, {}, ShowCarveProgress(context.sink, [&] { return context.stop.requested(); }));
    carved_ = !unreadable_ && (!messages_->counts().stopped || !messages_->messages().empty());
}

void StreamingEntryFlow::Match(ProcessingContext& context) {
    if (carved_) {
        MatchStoreMails(context, *messages_);
    }
}

std::optional<std::filesystem::path> StreamingEntryFlow::UnreadableFile() const {
    return unreadable_ ? file_ : std::nullopt;
}

void StreamingEntryFlow::AddRow(MailboxPagePort& page) {
    if (!carved_ || page.RowCount() == 0) {
        return;
    }
    row_ = page.RowCount();
    page.InsertRow(row_, Utf8ToUtf16(std::to_string(row_ + 1)), kEntryRowImage);
    page.SetRowName(row_, kStreamingEntryName);
}

void StreamingEntryFlow::ShowTree(FolderTree& tree) {
    const TreeItem root =
        InsertFolderItem(tree, kStreamingEntryName, kNoTreeItem, kMailboxRootClass);
    folder_ = InsertFolderItem(tree, kStreamingEntryName, root, kMailFolderClass);
    tree.Expand(root);
    open_ = true;
}

void StreamingEntryFlow::Close() {
    open_ = false;
    folder_ = kNoTreeItem;
    listed_ = kNoTreeItem;
}

void StreamingEntryFlow::Reset() {
    Close();
    file_.reset();
    carved_ = false;
    unreadable_ = false;
    row_ = -1;
    messages_.reset();
}

void StreamingEntryFlow::ListFolder(TreeItem item, ItemList& list) {
    listed_ = item;
    std::vector<ItemColumn> columns;
    const std::vector<std::u16string> headings = RecoveredListHeadings();
    for (size_t i = 0; i < headings.size(); ++i) {
        columns.push_back({headings[i], kColumnWidths[i]});
    }
    list.SetColumns(columns);
    list.DeleteAllRows();
    if (!carved_ || item != folder_ || folder_ == kNoTreeItem) {
        return;
    }
    const auto& messages = messages_->messages();
    for (size_t i = 0; i < messages.size(); ++i) {
        // The row's item id is its message's number, by which it is read again.
        CMailItem mail;
        mail.itemId = Utf8ToUtf16(std::to_string(i + 1));
        ListedItem listed;
        listed.item = &mail;
        list.InsertListedRow(static_cast<int>(i), kMailImage,
                             RecoveredListCells(i + 1, messages[i]), listed);
    }
}

std::optional<size_t> StreamingEntryFlow::IndexOf(const std::u16string& itemId) const {
    if (!carved_) {
        return std::nullopt;
    }
    const std::string text = Utf16ToUtf8(itemId);
    size_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size() || number == 0 ||
        number > messages_->messages().size()) {
        return std::nullopt;
    }
    return number - 1;
}

std::optional<MessageContent> StreamingEntryFlow::Read(const std::u16string& itemId) {
    const auto index = IndexOf(itemId);
    return index ? RecoveredMessageContent(*messages_, *index) : std::nullopt;
}

std::optional<MessageAttachments> StreamingEntryFlow::Attachments(const std::u16string& itemId) {
    const auto index = IndexOf(itemId);
    std::optional<std::string> bytes = index ? messages_->Bytes(*index) : std::nullopt;
    if (!bytes) {
        return std::nullopt;
    }
    std::vector<MimeAttachment> attachments = ReadMimeAttachments(*bytes);
    return MessageAttachments(std::move(*bytes), std::move(attachments));
}

bool StreamingEntryFlow::UseOriginal(MessageContent& content, const std::u16string& itemId) {
    return carved_ && UseCarvedOriginal(content, *messages_, itemId);
}

std::optional<MessageAttachments> StreamingEntryFlow::OriginalAttachments(
    const std::u16string& itemId) {
    const RecoveredMessage* original = carved_ ? messages_->MatchedMessage(itemId) : nullptr;
    std::optional<std::string> bytes = original ? messages_->MatchedBytes(itemId) : std::nullopt;
    if (!bytes) {
        return std::nullopt;
    }
    std::vector<MimeAttachment> attachments = ReadMimeAttachments(*bytes);
    return MessageAttachments(std::move(*bytes), std::move(attachments));
}

void StreamingEntryFlow::AddToSearch(SearchIndexOptions& options) {
    if (!carved_ || !messages_ || !file_) {
        return;
    }
    options.streamingFile = *file_;
    RecoveredMessages* messages = &*messages_;
    options.recovered = [messages] { return messages; };
}

std::function<void(ExportRecord&, const ListedItem&)> StreamingEntryFlow::RecordCompletion() {
    if (!carved_) {
        return {};
    }
    return CarvedOriginalCompletion(*messages_);
}

RecoveredExportResult StreamingEntryFlow::Export(const std::filesystem::path& directory,
                                                 const ExportFormats& formats,
                                                 const EdbFile* database,
                                                 const std::function<bool()>& stopRequested) {
    if (!carved_) {
        return {};
    }
    return ExportRecoveredMessages(*messages_, formats, directory, database, stopRequested);
}

}  // namespace velmor::ui
