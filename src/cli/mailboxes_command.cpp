#include <cstdio>
#include <string>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/plain_text.h"
#include "cli/streaming_entry.h"
#include "edb/text_codec.h"

namespace velmor::cli {

int RunMailboxesCommand(const CliOptions& options) {
    const StreamingFileChoice streaming = StreamingFileOf(options);
    if (streaming.refused) {
        return kExitFailure;
    }
    CliSession session;
    if (!session.Open(options.arguments.front()) || !session.Discover()) {
        return kExitFailure;
    }
    const auto& rows = session.progress().mailboxRows();
    const auto& entries = session.store().mailboxes.entries();
    std::string out = options.json ? "{\"mailboxes\": [" : "";
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::u16string key = i < entries.size() ? entries[i].key : std::u16string();
        if (options.json) {
            out += i == 0 ? "" : ", ";
            out += "{\"no\": " + Utf16ToUtf8(rows[i].number) +
                   ", \"name\": " + JsonString(rows[i].name) + ", \"key\": " + JsonString(key) +
                   "}";
        } else {
            out += PlainText(rows[i].number) + "\t" + PlainText(rows[i].name) + "\t" +
                   PlainText(key) + "\n";
        }
    }
    if (streaming.file) {
        // The streaming file's messages follow the mailboxes as an entry of their own.
        const std::string line = StreamingEntryLine(rows.size() + 1, options.json);
        out += options.json && !rows.empty() ? ", " + line : line;
    }
    out += options.json
               ? "], \"unreadablePages\": " + std::to_string(session.file().unreadablePages()) +
                     ", \"codePage\": " + std::to_string(session.store().codePage) + "}\n"
               : "";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

}  // namespace velmor::cli
