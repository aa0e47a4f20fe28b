#pragma once

#include "cli/cli_options.h"

namespace velmor::cli {

// Each command prints its result on stdout and returns the exit status.
int RunCatalogCommand(const CliOptions& options);
int RunMailboxesCommand(const CliOptions& options);
int RunFoldersCommand(const CliOptions& options);
int RunItemsCommand(const CliOptions& options);
int RunExportCommand(const CliOptions& options);
int RunLongValueCommand(const CliOptions& options);
int RunMessageCommand(const CliOptions& options);
int RunCarveCommand(const CliOptions& options);
int RunAttachmentsCommand(const CliOptions& options);
int RunAttachmentCommand(const CliOptions& options);
int RunSearchCommand(const CliOptions& options);

}  // namespace velmor::cli
