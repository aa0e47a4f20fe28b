#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "edb/text_codec.h"
#include "search/search_index.h"
#include "streaming/original_attachment_names.h"

namespace velmor::cli {

namespace {

std::string PlainLine(const SearchMatch& match) {
    return PlainText(match.folderPath) + "\t" + std::to_string(match.rowNumber) + "\t" +
           PlainText(match.kind) + "\t" + PlainText(match.sender) + "\t" +
           PlainText(match.subject) + "\t" + PlainText(match.dateText) + "\t" +
           std::to_string(match.relevance) + "\n";
}

std::string JsonLine(const SearchMatch& match) {
    return "{\"path\": " + JsonString(match.folderPath) +
           ", \"no\": " + std::to_string(match.rowNumber) +
           ", \"kind\": " + JsonString(match.kind) + ", \"sender\": " + JsonString(match.sender) +
           ", \"subject\": " + JsonString(match.subject) +
           ", \"date\": " + JsonString(match.dateText) +
           ", \"relevance\": " + std::to_string(match.relevance) + "}\n";
}

}  // namespace

int RunSearchCommand(const CliOptions& options) {
    MailboxTree mailbox;
    if (const int status = mailbox.Load(options); status != kExitOk) {
        return status;
    }
    if (mailbox.streamingEntry()) {
        return UsageError("the streaming file's entry has no index; search a mailbox row");
    }
    CliSession& session = mailbox.session();
    SearchIndex index;
    SearchIndexOptions indexOptions;
    indexOptions.noCache = options.noCache;
    // The originals of the streaming file, carved when the index is built, give the names of
    // their mails' attachments.
    if (mailbox.streamingFile()) {
        indexOptions.streamingFile = *mailbox.streamingFile();
        indexOptions.attachmentNames = [&mailbox](const std::u16string& itemId) {
            return OriginalAttachmentNames(mailbox.recoveredMessages(), itemId);
        };
    }
    if (!index.Open(session.context(), mailbox.tree(), options.arguments[0], mailbox.rootLabel(),
                    indexOptions)) {
        std::fputs("velmor-cli: the index was not completed\n", stderr);
        return kExitFailure;
    }
    session.progress().Finish();
    std::string error;
    const std::vector<SearchMatch> matches = index.Find(options.arguments[2], options.limit, error);
    if (!error.empty()) {
        return UsageError("cannot read the query: " + error);
    }
    std::string out;
    for (const SearchMatch& match : matches) {
        out += options.json ? JsonLine(match) : PlainLine(match);
    }
    std::fputs(out.c_str(), stdout);
    return matches.empty() ? kExitFailure : kExitOk;
}

}  // namespace velmor::cli
