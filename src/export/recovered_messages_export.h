#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "edb/edb_file.h"
#include "streaming/recovered_messages.h"

namespace velmor {

// How writing the streaming file's messages ended.
struct RecoveredExportResult {
    std::filesystem::path directory;  // the entry's directory below the chosen one
    size_t written = 0;
    size_t unreadable = 0;  // messages whose bytes could not be read again
    std::string error;      // why the writing ended early; empty when it did not
    bool stopped = false;
};

// Writes the messages of the streaming file as they were carved, each as NNNNN.eml and/or all
// into one mbox file, in the directory "Recovered from the streaming file" below directory.
// database: the open database, whose files are never a target; may be null. stopRequested is
// asked between two messages; a stop keeps the .eml files written and writes no mbox file.
RecoveredExportResult ExportRecoveredMessages(RecoveredMessages& messages, bool eml, bool mbox,
                                              const std::filesystem::path& directory,
                                              const EdbFile* database,
                                              const std::function<bool()>& stopRequested = {});

}  // namespace velmor
