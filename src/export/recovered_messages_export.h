#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "edb/edb_file.h"
#include "export/export_formats.h"
#include "streaming/recovered_messages.h"

namespace velmor {

// How writing the streaming file's messages ended.
struct RecoveredExportResult {
    std::filesystem::path directory;  // where the files went: the entry's directory below the
                                      // chosen one, or the chosen one for a PST file alone
    std::vector<std::string> files;   // the names of the files completed in directory
    size_t written = 0;
    size_t unreadable = 0;                     // messages whose bytes could not be read again
    std::optional<std::filesystem::path> pst;  // the entry's personal-folders file, when written
    std::string error;                         // why the writing ended early; empty when it did not
    bool stopped = false;
};

// Writes the messages of the streaming file as the one mail folder of a mailbox is written: in
// a new directory "Recovered from the streaming file" below directory (" (2)"... when the
// name is taken) each message as carved (NNNNN.eml) and/or all into one mbox file, and the
// list as items.csv; with pst, the file
// "Recovered from the streaming file.pst" in directory, the messages with their attachments in
// its folder of that name. vCard and iCalendar write nothing for mail. database: the open
// database, whose files are never a target; may be null. stopRequested is asked between two
// messages; a stop keeps the .eml files written and writes no mbox, list or PST file.
RecoveredExportResult ExportRecoveredMessages(RecoveredMessages& messages,
                                              const ExportFormats& formats,
                                              const std::filesystem::path& directory,
                                              const EdbFile* database,
                                              const std::function<bool()>& stopRequested = {});

}  // namespace velmor
