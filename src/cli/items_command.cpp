#include <cstdio>
#include <string>

#include "browse/plain_item_list.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "cli/streaming_entry.h"
#include "edb/text_codec.h"

namespace velmor::cli {

namespace {

// The mail list's columns: number, sender or recipients, subject, date.
constexpr size_t kMailSubjectColumn = 2;

std::vector<std::u16string> Headings(const PlainItemList& list) {
    std::vector<std::u16string> headings;
    for (const ItemColumn& column : list.columns()) {
        headings.push_back(column.heading);
    }
    return headings;
}

void PrintPlain(const PlainItemList& list) {
    std::string out = TabSeparated(Headings(list));
    for (const PlainItemList::Row& row : list.rows()) {
        out += TabSeparated(row.cells);
    }
    std::fputs(out.c_str(), stdout);
}

// JSON carries the text exactly: a mail row's subject with its tabs, which the list shows as
// blanks.
std::vector<std::u16string> ExactCells(const PlainItemList::Row& row) {
    std::vector<std::u16string> cells = row.cells;
    if (!row.itemId.empty() && cells.size() > kMailSubjectColumn) {
        cells[kMailSubjectColumn] = row.subject;
    }
    return cells;
}

void PrintJson(int kind, const PlainItemList& list) {
    std::string out = "{\"kind\": " + std::to_string(kind) +
                      ", \"columns\": " + JsonArray(Headings(list)) + ", \"rows\": [";
    for (size_t i = 0; i < list.rows().size(); ++i) {
        const PlainItemList::Row& row = list.rows()[i];
        out += (i == 0 ? "" : ", ") + std::string("{\"image\": ") + std::to_string(row.image) +
               ", \"cells\": " + JsonArray(ExactCells(row)) + "}";
    }
    out += "]}\n";
    std::fputs(out.c_str(), stdout);
}

}  // namespace

int RunItemsCommand(const CliOptions& options) {
    MailboxTree mailbox;
    if (const int status = mailbox.Load(options); status != kExitOk) {
        return status;
    }
    if (mailbox.streamingEntry()) {
        return PrintStreamingItems(options, mailbox.recoveredMessages(), options.arguments[2]);
    }
    PlainItemList list;
    int folderKind = 0;
    if (const int status = mailbox.ListFolder(options.arguments[2], list, folderKind);
        status != kExitOk) {
        return status;
    }
    if (options.json) {
        PrintJson(folderKind, list);
    } else {
        PrintPlain(list);
    }
    return kExitOk;
}

}  // namespace velmor::cli
