#include "search/index_builder.h"

#include "browse/browse_worker.h"
#include "browse/folder_classification.h"
#include "browse/folder_tie_form.h"
#include "browse/long_value_recipients.h"
#include "browse/mail_body.h"
#include "browse/mail_details.h"
#include "browse/message_details.h"
#include "browse/tree_item_path.h"
#include "discovery/null_progress_sink.h"
#include "search/html_text.h"
#include "search/matched_original_fields.h"
#include "search/search_fields.h"

namespace velmor {

namespace {

// Items handed to the indexing threads at a time.
constexpr size_t kItemsPerBatch = 100;

// The body as words: the text, else the HTML's text.
std::u16string BodyWords(const MailBody& body) {
    if (body.text) {
        return *body.text;
    }
    return body.html ? HtmlToText(*body.html) : std::u16string();
}

// An address as words: its name and, for an e-mail address, the address. A distinguished
// name ("EX") is no word anyone searches for.
std::u16string AddressWords(const MessageAddress& address) {
    if (address.addressType == kExchangeAddressType || address.address.empty()) {
        return address.name;
    }
    return address.name + u' ' + address.address;
}

std::vector<std::u16string> AddressWords(const std::vector<MessageAddress>& addresses) {
    std::vector<std::u16string> words;
    for (const MessageAddress& address : addresses) {
        words.push_back(AddressWords(address));
    }
    return words;
}

// The item list the index lists into: every row's fields and body are read here and handed
// to the indexing threads, a batch at a time.
class IndexingItemList : public ItemList {
public:
    IndexingItemList(ProcessingContext& context, const std::u16string& folderPath,
                     IndexShards& index, RecoveredMessages* recovered)
        : context_(context),
          folderPath_(folderPath),
          folder_(context.store.folderViews.FindByPath(folderPath)),
          index_(index),
          recovered_(recovered),
          recipients_(context) {}

    void DeleteAllRows() override {}
    void SetColumns(const std::vector<ItemColumn>&) override {}
    void InsertRow(int row, int image, const std::vector<std::u16string>& cells) override {
        InsertListedRow(row, image, cells, ListedItem{});
    }
    void InsertListedRow(int row, int, const std::vector<std::u16string>&,
                         const ListedItem& listed) override {
        SearchFields fields = CollectSearchFields(folderPath_, row, listed);
        if (dynamic_cast<const CMailItem*>(listed.item) != nullptr) {
            AddDetails(fields);
        }
        // A mail with an original shows that original's body, not the store's.
        const bool original =
            !fields.itemId.empty() && recovered_ && TakeMatchedOriginal(*recovered_, fields);
        if (!fields.itemId.empty() && !original) {
            fields.body =
                BodyWords(ReadMailBodyOfItem(context_, fields.itemId, FolderTieForm(folder_)));
        }
        batch_.push_back(std::move(fields));
        if (batch_.size() == kItemsPerBatch) {
            HandOver();
        }
    }

    // A mail's sender address, its To, Cc and Bcc recipients with their addresses, and
    // whether it has attachments. Only sent mails are listed with their recipients; the others
    // have them read here.
    void AddDetails(SearchFields& fields) {
        std::vector<std::u16string> names = fields.to;
        if (names.empty()) {
            names = ReadMailDetails(context_, fields.itemId, true, recipients_).recipients;
        }
        const MessageDetails details =
            ReadMessageDetails(context_, fields.itemId, fields.sender, names);
        fields.senderAddress = AddressWords(details.from);
        fields.to = AddressWords(details.to);
        fields.cc = AddressWords(details.cc);
        fields.bcc = AddressWords(details.bcc);
        fields.hasAttachments = details.hasAttachments.value_or(false);
    }

    // Hands the items read so far to the indexing threads.
    void HandOver() {
        if (!batch_.empty()) {
            index_.Add(std::move(batch_));
            batch_.clear();
        }
    }

private:
    ProcessingContext& context_;
    const std::u16string& folderPath_;
    const FolderViewNode* folder_;  // for the form of its bodies' ties, settled as it lists
    IndexShards& index_;
    RecoveredMessages* recovered_;
    LongValueRecipients recipients_;
    std::vector<SearchFields> batch_;
};

}  // namespace

bool BuildSearchIndex(ProcessingContext& context, const FolderTree& tree, IndexShards& index,
                      RecoveredMessages* recovered) {
    // The listings report to no window: the bar counts folders, not a folder's items.
    NullProgressSink quiet;
    ProcessingContext listing{context.file, context.store, quiet, context.stop, context.threads};
    std::vector<TreeItem> items;
    for (std::vector<TreeItem> pending = tree.Children(kNoTreeItem); !pending.empty();) {
        const TreeItem item = pending.back();
        pending.pop_back();
        items.push_back(item);
        const std::vector<TreeItem> children = tree.Children(item);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    ProgressSink& sink = context.sink;
    sink.SetItemStatus(kIndexingStatus);
    sink.ShowItemStatus();
    sink.SetItemProgressRange(0, static_cast<int>(items.size()));
    sink.SetItemProgressPosition(0);
    sink.ShowItemProgress();
    bool complete = true;
    for (size_t i = 0; i < items.size() && complete; ++i) {
        BrowseSelection selection{TreeItemPath(tree, items[i]), kUnclassifiedFolder};
        ClassifyFolder(context.store.folderViews, items[i], selection.folderKind);
        IndexingItemList list(listing, selection.path, index, recovered);
        ListFolder(listing, list, selection);
        list.HandOver();
        complete = !context.stop.requested();
        sink.SetItemProgressPosition(static_cast<int>(i + 1));
    }
    sink.HideItemProgress();
    sink.HideItemStatus();
    return complete;
}

}  // namespace velmor
