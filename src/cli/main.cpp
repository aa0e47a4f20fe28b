#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "edb/eight_bit_code_page.h"

int main(int argc, char** argv) {
    using namespace velmor::cli;
    std::string error;
    const auto options = ParseCommandLine(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "velmor-cli: %s\n", error.c_str());
        return kExitUsage;
    }
    if (options->version) {
        std::printf("velmor-cli %s\n", VELMOR_VERSION);
        return kExitOk;
    }
    if (options->help) {
        std::fputs(UsageText().c_str(), stdout);
        return kExitOk;
    }
    velmor::ChooseEightBitCodePage(options->codePage);
    if (options->command == "catalog") {
        return RunCatalogCommand(*options);
    }
    if (options->command == "folders") {
        return RunFoldersCommand(*options);
    }
    if (options->command == "items") {
        return RunItemsCommand(*options);
    }
    if (options->command == "export") {
        return RunExportCommand(*options);
    }
    if (options->command == "message") {
        return RunMessageCommand(*options);
    }
    if (options->command == "attachments") {
        return RunAttachmentsCommand(*options);
    }
    if (options->command == "attachment") {
        return RunAttachmentCommand(*options);
    }
    if (options->command == "carve") {
        return RunCarveCommand(*options);
    }
    if (options->command == "search") {
        return RunSearchCommand(*options);
    }
    if (options->command == "long-value") {
        return RunLongValueCommand(*options);
    }
    return RunMailboxesCommand(*options);
}
