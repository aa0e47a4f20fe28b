#include "search/index_builder.h"

#include <ctime>

#include "browse/browse_worker.h"
#include "browse/folder_classification.h"
#include "browse/long_value_recipients.h"
#include "browse/mail_body.h"
#include "browse/mail_details.h"
#include "browse/tree_item_path.h"
#include "discovery/null_progress_sink.h"
#include "edb/text_codec.h"
#include "search/html_text.h"
#include "search/search_fields.h"
#include "search/search_match.h"
#include "search/search_terms.h"

namespace velmor {

namespace {

// FILETIME ticks (100 ns) from 1601-01-01 to 1970-01-01, and per second.
constexpr uint64_t kUnixEpochTicks = 116444736000000000ULL;
constexpr uint64_t kTicksPerSecond = 10000000ULL;

// The item's local date as YYYY-MM-DD, as the listing's date shows it; empty when none.
std::string LocalDate(const std::optional<uint64_t>& fileTime) {
    if (!fileTime || *fileTime < kUnixEpochTicks) {
        return {};
    }
    const auto seconds = static_cast<time_t>((*fileTime - kUnixEpochTicks) / kTicksPerSecond);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    char text[16];
    std::strftime(text, sizeof(text), "%Y-%m-%d", &local);
    return text;
}

// The body as words: the text, else the HTML's text.
std::u16string BodyWords(const MailBody& body) {
    if (body.text) {
        return *body.text;
    }
    return body.html ? HtmlToText(*body.html) : std::u16string();
}

// The item list the index lists into: every row becomes a document.
class IndexingItemList : public ItemList {
public:
    IndexingItemList(ProcessingContext& context, const std::u16string& folderPath,
                     IndexParts& index, Xapian::TermGenerator& terms)
        : context_(context),
          folderPath_(folderPath),
          index_(index),
          terms_(terms),
          recipients_(context) {}

    void DeleteAllRows() override {}
    void SetColumns(const std::vector<ItemColumn>&) override {}
    void InsertRow(int row, int image, const std::vector<std::u16string>& cells) override {
        InsertListedRow(row, image, cells, ListedItem{});
    }
    void InsertListedRow(int row, int, const std::vector<std::u16string>&,
                         const ListedItem& listed) override {
        SearchFields fields = CollectSearchFields(folderPath_, row, listed);
        if (!fields.itemId.empty()) {
            fields.body = BodyWords(ReadMailBodyOfItem(context_, fields.itemId));
        }
        // Only sent mails are listed with their recipients; the others have them read here.
        if (fields.to.empty() && dynamic_cast<const CMailItem*>(listed.item) != nullptr) {
            fields.to = ReadMailDetails(context_, fields.itemId, true, recipients_).recipients;
        }
        Add(fields);
    }

private:
    void Index(const std::u16string& text, const char* prefix) {
        if (!text.empty()) {
            terms_.index_text(Utf16ToUtf8(text), 1, prefix);
            terms_.increase_termpos();
        }
    }
    void Index(const std::vector<std::u16string>& texts, const char* prefix) {
        for (const std::u16string& text : texts) {
            Index(text, prefix);
        }
    }

    void Add(const SearchFields& fields) {
        Xapian::Document document;
        terms_.set_document(document);
        Index(fields.sender, kSenderPrefix);
        Index(fields.to, kToPrefix);
        Index(fields.cc, kCcPrefix);
        Index(fields.bcc, kBccPrefix);
        Index(fields.subject, kSubjectPrefix);
        Index(fields.body, kBodyPrefix);
        Index(fields.folderPath, kFolderPrefix);
        Index(fields.attachmentNames, kAttachmentNamePrefix);
        document.add_boolean_term(kKindPrefix + Utf16ToUtf8(fields.kind));
        if (!fields.attachmentNames.empty()) {
            document.add_boolean_term(std::string(kHasPrefix) + kAttachmentFlag);
        }
        if (const std::string date = LocalDate(fields.fileTime); !date.empty()) {
            document.add_boolean_term(kDatePrefix + date);
            document.add_value(kDateSlot, date.substr(0, 4) + date.substr(5, 2) + date.substr(8));
        }
        document.set_data(
            EncodeSearchMatch({fields.folderPath, fields.rowNumber, fields.kind, fields.sender,
                               fields.subject, fields.dateText, fields.itemId}));
        index_.Add(document);
    }

    ProcessingContext& context_;
    const std::u16string& folderPath_;
    IndexParts& index_;
    Xapian::TermGenerator& terms_;
    LongValueRecipients recipients_;
};

}  // namespace

bool BuildSearchIndex(ProcessingContext& context, const FolderTree& tree, IndexParts& index,
                      const std::string& stemLanguage) {
    Xapian::TermGenerator terms;
    terms.set_stemmer(Xapian::Stem(stemLanguage));
    // Only the stems are kept, with their positions for phrases: keeping the words beside
    // them doubled the terms. CJK n-grams have no stem and stay as they are.
    terms.set_stemming_strategy(Xapian::TermGenerator::STEM_ALL);
    terms.set_flags(Xapian::TermGenerator::FLAG_CJK_NGRAM);

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
        IndexingItemList list(listing, selection.path, index, terms);
        ListFolder(listing, list, selection);
        complete = !context.stop.requested();
        sink.SetItemProgressPosition(static_cast<int>(i + 1));
    }
    sink.HideItemProgress();
    sink.HideItemStatus();
    return complete;
}

}  // namespace velmor
