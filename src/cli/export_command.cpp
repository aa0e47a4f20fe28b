#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "browse/tree_item_path.h"
#include "cli/commands.h"
#include "cli/export_report.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "cli/streaming_entry.h"
#include "edb/text_codec.h"
#include "export/carved_original_record.h"
#include "export/mailbox_export.h"

namespace velmor::cli {

namespace {

constexpr char kDefaultFormats[] = "eml,vcf,ics,csv";

// Interrupting the command stops the export between two items, so that only complete files
// remain; the handler only sets the flag.
StopFlag* interruptedExport = nullptr;

extern "C" void StopExportOnInterrupt(int) {
    if (interruptedExport != nullptr) {
        interruptedExport->request();
    }
}

// Every item below the top-level items, depth first: the folders of the mailbox.
void AddDescendants(const FolderTree& tree, TreeItem parent, std::vector<TreeItem>& items) {
    for (TreeItem child : tree.Children(parent)) {
        items.push_back(child);
        AddDescendants(tree, child, items);
    }
}

// A message naming folders or files from damaged pages, as plain output prints it.
std::string PlainMessage(const std::string& message) {
    return PlainText(Utf8ToUtf16(message));
}

}  // namespace

int RunExportCommand(const CliOptions& options) {
    const std::string formatList = options.formats.value_or(kDefaultFormats);
    const auto formats = ParseExportFormats(formatList);
    if (!formats) {
        return UsageError("unknown format list '" + formatList +
                          "'; use a comma-separated subset of eml,mbox,vcf,ics,csv,pst");
    }
    MailboxTree mailbox;
    if (const int status = mailbox.Load(options); status != kExitOk) {
        return status;
    }
    if (mailbox.streamingEntry()) {
        return ExportStreamingMessages(options, mailbox.recoveredMessages(), *formats,
                                       options.arguments[2], &mailbox.session().file());
    }
    std::vector<TreeItem> items;
    for (size_t i = 3; i < options.arguments.size(); ++i) {
        const std::string& path = options.arguments[i];
        const TreeItem item = mailbox.FindItem(path);
        if (item == kNoTreeItem) {
            return UsageError("no folder with the path '" + path + "'; see velmor-cli folders");
        }
        items.push_back(item);
    }
    if (items.empty()) {
        for (TreeItem root : mailbox.tree().Children(kNoTreeItem)) {
            AddDescendants(mailbox.tree(), root, items);
        }
    }

    ProcessingContext& context = mailbox.session().context();
    const std::filesystem::path outdir = options.arguments[2];
    ExportOptions exportOptions;
    exportOptions.formats = *formats;
    exportOptions.completeRecord = CarvedOriginalCompletion(mailbox.recoveredMessages());
    MailboxExport exporter(context, mailbox.tree(), outdir, exportOptions);
    std::string error;
    if (!exporter.Prepare(error)) {
        std::fprintf(stderr, "velmor-cli: %s\n", PlainMessage(error).c_str());
        return kExitFailure;
    }
    interruptedExport = &context.stop;
    std::signal(SIGINT, StopExportOnInterrupt);
    std::signal(SIGTERM, StopExportOnInterrupt);

    bool complete = true;
    ExportReport report(outdir, options.json);
    for (TreeItem item : items) {
        const FolderExportResult result = exporter.Export(item);
        mailbox.session().progress().Finish();
        if (!result.ok()) {
            complete = false;
            std::fprintf(stderr, "velmor-cli: %s: %s\n", PlainText(result.path).c_str(),
                         result.stopped ? "stopped" : PlainMessage(result.error).c_str());
        }
        report.Add(result);
        if (result.stopped) {
            break;
        }
    }
    if (formats->pst && !context.stop.requested()) {
        const auto path = exporter.FinishPst(error);
        if (path) {
            report.SetPst(*path);
        } else {
            complete = false;
            std::fprintf(stderr, "velmor-cli: %s\n", PlainMessage(error).c_str());
        }
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    interruptedExport = nullptr;
    std::fputs(report.Text().c_str(), stdout);
    return complete ? kExitOk : kExitFailure;
}

}  // namespace velmor::cli
