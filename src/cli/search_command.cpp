#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "edb/text_codec.h"
#include "search/search_index.h"

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
    CliSession& session = mailbox.session();
    SearchIndex index;
    SearchIndexOptions indexOptions;
    indexOptions.noCache = options.noCache;
    // The originals of the streaming file, carved when the index is built, give their mails
    // the bodies and attachments the message command shows.
    if (mailbox.streamingFile()) {
        indexOptions.streamingFile = *mailbox.streamingFile();
        indexOptions.recovered = [&mailbox] { return &mailbox.recoveredMessages(); };
    }
    const bool opened =
        mailbox.streamingEntry()
            ? index.OpenStreamingEntry(session.context(), mailbox.recoveredMessages(),
                                       options.arguments[0], indexOptions)
            : index.Open(session.context(), mailbox.tree(), options.arguments[0],
                         mailbox.rootLabel(), indexOptions);
    if (!opened) {
        std::fputs("velmor-cli: the index was not completed\n", stderr);
        return kExitFailure;
    }
    session.progress().Finish();
    if (!index.warning().empty()) {
        std::fputs(("velmor-cli: warning: " + index.warning() + "\n").c_str(), stderr);
    }
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
