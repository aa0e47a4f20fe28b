#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "cli/cli_options.h"
#include "edb/edb_file.h"
#include "export/export_formats.h"
#include "streaming/recovered_messages.h"

namespace velmor::cli {

// The streaming file a command reads: --stm FILE, else the one beside the database.
struct StreamingFileChoice {
    std::optional<std::filesystem::path> file;
    bool refused = false;  // --stm FILE names no file that can be read: the command fails
};

// The streaming file of the command, tried at once: one that cannot be read is said on
// stderr, and refused when --stm named it, left out when it lies beside the database.
StreamingFileChoice StreamingFileOf(const CliOptions& options);

// The path of the streaming entry's one mail folder, as folders prints it.
std::u16string StreamingFolderPath();

// Whether path names the streaming entry's folder, exactly or as plain output prints it.
bool IsStreamingFolderPath(const std::string& path);

// The lines of mailboxes for the streaming entry, numbered row.
std::string StreamingEntryLine(size_t row, bool json);

// The commands on the streaming entry's row, which lists, browses and exports like a mailbox
// with one mail folder. Each gives its exit status.
int PrintStreamingFolders(const CliOptions& options);
int PrintStreamingItems(const CliOptions& options, const RecoveredMessages& messages,
                        const std::string& path);
int PrintStreamingMessage(const CliOptions& options, RecoveredMessages& messages,
                          const std::string& path, int number);
// database: the open database, whose files are never a target.
int ExportStreamingMessages(const CliOptions& options, RecoveredMessages& messages,
                            const ExportFormats& formats, const std::filesystem::path& directory,
                            const EdbFile* database);

}  // namespace velmor::cli
