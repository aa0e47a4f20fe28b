#pragma once

#include <string>
#include <vector>

#include "discovery/processing_driver.h"
#include "opened_database.h"

namespace velmor::test {

// What a message index holds: every entry in order, and each id's chain.
inline std::vector<std::string> IndexContents(const MessageIndex& index) {
    std::vector<std::string> lines;
    for (const MessageIndexEntry& entry : index.entries()) {
        std::string line = std::to_string(entry.itemIdValue) + " " +
                           std::to_string(entry.fileTime) + " " +
                           std::to_string(entry.recordPosition) + " chain";
        index.ForEachWithId(entry.itemId(), [&](const MessageIndexEntry& same) {
            line += " " + std::to_string(same.recordPosition);
            return true;
        });
        lines.push_back(line);
    }
    return lines;
}

// The message index of a full run over the open file, with the records gathered in the
// full-file pass (past othersLimit only those of the largest object) or read again.
inline std::vector<std::string> IndexOfRun(EdbFile& file, bool gather,
                                           size_t othersLimit = MessageCandidates::kOthersLimit) {
    RecoveredStore store;
    store.messageCandidates = MessageCandidates(othersLimit);
    store.messageCandidates.GatherInThePass(gather);
    RecordingSink sink;
    StopFlag stop;
    ProcessingContext context{file, store, sink, stop};
    RunProcessingParts(context);
    return IndexContents(store.messageIndex);
}

}  // namespace velmor::test
