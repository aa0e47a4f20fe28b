// Times the export of the largest folder of the browse benchmark's store (the 100,045 mails of
// mailbox "User 0"'s Inbox) in one format, with the process's peak memory. The output goes to
// a fresh directory below OUTDIR, removed afterwards.
//
//   velmor_bench_export eml|mbox STORE OUTDIR

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_command.h"
#include "browse/folder_tree_population.h"
#include "browse/plain_folder_tree.h"
#include "browse/tree_item_path.h"
#include "discovery/null_progress_sink.h"
#include "discovery/processing_driver.h"
#include "export/mailbox_export.h"
#include "store_footprint.h"

namespace {

using velmor::bench::Clock;
using velmor::bench::kMiB;

constexpr char16_t kLargeFolderMailbox[] = u"Mailbox - User 0";
constexpr char16_t kLargeFolderPath[] = u"Mailbox - User 0\\Top of Information Store\\Inbox\\";

int Usage() {
    std::fprintf(stderr, "usage: velmor_bench_export eml|mbox STORE OUTDIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        return Usage();
    }
    const std::string format = argv[1];
    velmor::ExportOptions options;
    options.formats = {format == "eml", format == "mbox", false, false, false};
    if (!options.formats.eml && !options.formats.mbox) {
        return Usage();
    }
    velmor::EdbFile file;
    velmor::RecoveredStore store;
    velmor::NullProgressSink sink;
    velmor::StopFlag stop;
    velmor::ProcessingContext context{file, store, sink, stop};
    if (file.OpenDatabase(argv[2]) != 0) {
        std::fprintf(stderr, "cannot open %s\n", argv[2]);
        return 1;
    }
    velmor::RunProcessingParts(context);
    velmor::PlainFolderTree tree;
    velmor::PopulateFolderTree(tree, store, sink, kLargeFolderMailbox);
    velmor::TreeItem folder = velmor::kNoTreeItem;
    for (velmor::TreeItem item : tree.AllItems()) {
        if (velmor::TreeItemPath(tree, item) == kLargeFolderPath) {
            folder = item;
        }
    }
    const std::filesystem::path outdir = std::filesystem::path(argv[3]) / ("export-" + format);
    std::filesystem::remove_all(outdir);
    velmor::MailboxExport exporter(context, tree, outdir, options);
    std::string error;
    if (folder == velmor::kNoTreeItem || !exporter.Prepare(error)) {
        std::fprintf(stderr, "cannot export: %s\n", error.c_str());
        return 1;
    }
    const auto start = Clock::now();
    const velmor::FolderExportResult result = exporter.Export(folder);
    const double seconds = velmor::bench::SecondsSince(start);
    std::filesystem::remove_all(outdir);
    if (!result.ok()) {
        std::fprintf(stderr, "export failed: %s\n", result.error.c_str());
        return 1;
    }
    std::printf("export %-4s         %.3f s  (%zu mails, %zu files), peak memory %.1f MiB\n",
                format.c_str(), seconds, result.items, result.files.size(),
                velmor::bench::PeakResidentBytes() / kMiB);
    return 0;
}
