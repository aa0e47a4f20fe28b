#pragma once

#include <string>
#include <vector>

#include "message_index_contents.h"

namespace velmor::test {

// Every list a run of the seven processing parts leaves in the store, and every window call
// it made, as lines of text, on the given number of threads.
inline std::vector<std::string> DiscoveryLists(
    EdbFile& file, unsigned threads, size_t othersLimit = MessageCandidates::kOthersLimit) {
    RecoveredStore store;
    store.messageCandidates = MessageCandidates(othersLimit);
    RecordingSink sink;
    StopFlag stop;
    ProcessingContext context{file, store, sink, stop, threads};
    RunProcessingParts(context);

    std::vector<std::string> lines = sink.calls;
    const auto add = [&](std::string line) { lines.push_back(std::move(line)); };
    add("highest object id " + std::to_string(file.maxObjectId));
    add("unreadable pages " + std::to_string(file.unreadablePages()));
    for (const ObjectPageGroup& group : store.pageGroups.groups()) {
        std::string line = "group " + std::to_string(group.objectId) + " of " +
                           std::to_string(group.pageCount) + ":";
        for (int32_t page : group.pages) {
            line += " " + std::to_string(page);
        }
        add(line);
    }
    for (const CatalogEntry& entry : store.catalog) {
        add("catalog " + std::to_string(entry.tableObjectId) + " " + std::to_string(entry.id) +
            " " + Utf16ToUtf8(entry.name) + " " + std::to_string(entry.rootMarker) + " " +
            std::to_string(entry.typeOrRootPage));
    }
    const SchemaIds& schema = store.schema;
    std::string ids = "schema";
    for (int32_t id : {schema.msgTableId, schema.msgTableObjectId, schema.foldersTableId,
                       schema.mailboxTableId, schema.containerClassColumn, schema.msgLongValueId}) {
        ids += " " + std::to_string(id);
    }
    for (int32_t column : schema.messageColumns) {
        ids += " " + std::to_string(column);
    }
    add(ids);
    for (const MailboxEntry& mailbox : store.mailboxes.entries()) {
        add("mailbox " + Utf16ToUtf8(mailbox.key) + " " + Utf16ToUtf8(mailbox.displayName));
    }
    add("listed mailboxes " + std::to_string(store.listedMailboxCount));
    for (const FolderEntry& folder : store.folders) {
        add("folder " + Utf16ToUtf8(folder.folderId) + " " + Utf16ToUtf8(folder.parentId) + " " +
            Utf16ToUtf8(folder.containerClass) + " " + Utf16ToUtf8(folder.displayName));
    }
    for (std::string& line : IndexContents(store.messageIndex)) {
        add("message " + line);
    }
    return lines;
}

}  // namespace velmor::test
