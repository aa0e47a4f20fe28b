#include "search/search_listing.h"

#include "browse/folder_kind.h"
#include "browse/item_columns.h"
#include "browse/item_images.h"
#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr int kFolderColumnWidth = 250;
// The characters of a query a caption shows; a longer one ends in an ellipsis.
constexpr size_t kQueryShownInCaption = 60;

bool IsTrailSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

int ImageOf(const std::u16string& kind) {
    struct KindImage {
        std::u16string_view kind;
        int image;
    };
    static constexpr KindImage kImages[] = {{u"contact", kContactImage},
                                            {u"appointment", kAppointmentImage},
                                            {u"task", kTaskImage},
                                            {u"note", kStickyNoteImage},
                                            {u"journal", kJournalImage}};
    for (const KindImage& known : kImages) {
        if (kind == known.kind) {
            return known.image;
        }
    }
    return kMailImage;
}

}  // namespace

void ListSearchMatches(const std::vector<SearchMatch>& matches, ItemList& list) {
    std::vector<ItemColumn> columns = ItemColumnsOf(kMailFolder);
    columns.push_back({kFolderHeading, kFolderColumnWidth});
    list.DeleteAllRows();
    list.SetColumns(columns);
    AppendSearchMatches(matches, list, 0);
}

void AppendSearchMatches(const std::vector<SearchMatch>& matches, ItemList& list, int firstRow) {
    int row = firstRow;
    for (const SearchMatch& match : matches) {
        // Only a mail row's item id opens a message; the record carries it.
        CMailItem mail;
        mail.itemId = match.itemId;
        ListedItem listed;
        listed.item = &mail;
        listed.subject = match.subject;
        listed.sender = match.sender;
        list.InsertListedRow(row, ImageOf(match.kind),
                             {Utf8ToUtf16(std::to_string(match.rowNumber)), match.sender,
                              match.subject, match.dateText, match.folderPath},
                             listed);
        ++row;
    }
}

std::u16string NoMatchesNote(const std::string& query) {
    std::u16string shown = Utf8ToUtf16(query);
    if (shown.size() > kQueryShownInCaption) {
        size_t end = kQueryShownInCaption;
        if (IsTrailSurrogate(shown[end])) {
            --end;  // never half a character
        }
        shown = shown.substr(0, end) + u"\u2026";
    }
    return u"No items match \"" + shown + u"\"";
}

}  // namespace velmor
