// Times the export of the largest folder of the browse benchmark's store (the 100,045 mails of
// mailbox "User 0"'s Inbox) in one format, with the process's peak memory. The output goes to
// a fresh directory below OUTDIR, removed afterwards. "pst-large" instead writes a
// personal-folders file of at least GIB GiB from made-up mails with bodies, and has readers
// that share nothing with the writer (pffinfo, lspst) go through it.
//
//   velmor_bench_export eml|mbox|pst STORE OUTDIR
//   velmor_bench_export pst-large GIB OUTDIR

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "bench_command.h"
#include "browse/folder_tree_population.h"
#include "browse/plain_folder_tree.h"
#include "browse/tree_item_path.h"
#include "discovery/null_progress_sink.h"
#include "discovery/processing_driver.h"
#include "edb/text_codec.h"
#include "export/mailbox_export.h"
#include "export/pst/pst_mailbox_file.h"
#include "program_arguments.h"
#include "pst_rules.h"
#include "store_footprint.h"

namespace {

using velmor::bench::Clock;
using velmor::bench::kGiB;
using velmor::bench::kMiB;

constexpr char16_t kLargeFolderMailbox[] = u"Mailbox - User 0";
constexpr char16_t kLargeFolderPath[] = u"Mailbox - User 0\\Top of Information Store\\Inbox\\";

constexpr char kUsage[] =
    "usage: velmor_bench_export eml|mbox|pst STORE OUTDIR\n"
    "       velmor_bench_export pst-large GIB OUTDIR";

int Usage() {
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
}

// Runs a reader over the file; the last line it printed.
std::string LastLine(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
        char line[4096];
        while (std::fgets(line, sizeof line, pipe) != nullptr) {
            output = line;
        }
        ::pclose(pipe);
    }
    return output;
}

// The verdict of the tests' check of the format's rules on the file (mapped, not read).
std::string FormatRules(const std::filesystem::path& pst) {
    const std::filesystem::path script = pst.parent_path() / "pst_rules.py";
    std::ofstream(script) << velmor::test::kPstRuleChecker;
    const std::string verdict =
        LastLine("python3 '" + script.string() + "' '" + pst.string() + "'");
    std::filesystem::remove(script);
    return verdict;
}

int WriteLargePst(double gib, const std::filesystem::path& outdir) {
    constexpr size_t kBodyChars = 12000;  // 24 KB of UTF-16 body per mail
    constexpr size_t kMailsPerFolder = 20000;
    std::filesystem::create_directories(outdir);
    velmor::pst::PstMailboxFile file(outdir, nullptr, u"Mailbox - Large");
    if (!file.Open()) {
        std::fprintf(stderr, "cannot create the file: %s\n", file.error().c_str());
        return 1;
    }
    const auto target = static_cast<uint64_t>(gib * kGiB);
    const uint64_t mails = target / (kBodyChars * 2) + 1;
    std::u16string body;
    while (body.size() < kBodyChars) {
        body += u"A line of the body of a made-up mail, long enough to fill blocks. ";
    }
    body.resize(kBodyChars);
    const auto start = Clock::now();
    uint32_t folder = 0;
    for (uint64_t i = 0; i < mails; ++i) {
        if (i % kMailsPerFolder == 0) {
            if (folder != 0 && !file.CloseFolder(folder)) {
                break;
            }
            folder = file.AddFolder(
                velmor::pst::PstMailboxFile::TopFolder(),
                u"Folder " + velmor::Utf8ToUtf16(std::to_string(i / kMailsPerFolder)), u"IPF.Note");
        }
        velmor::ExportRecord record;
        record.folderKind = 1;
        record.subject = u"Mail " + velmor::Utf8ToUtf16(std::to_string(i));
        record.sender = u"Carol Hughes";
        record.recipients = {u"Ann Walker"};
        record.fileTime = 128206859400000000ull + i * 10000000ull;
        record.bodyText = body;
        if (!file.AddItem(folder, record)) {
            break;
        }
    }
    const auto path = file.Commit("large.pst");
    const double seconds = velmor::bench::SecondsSince(start);
    if (!path) {
        std::fprintf(stderr, "cannot write the file: %s\n", file.error().c_str());
        return 1;
    }
    const double size = static_cast<double>(std::filesystem::file_size(*path));
    std::printf("pst-large           %.3f s  (%llu mails, %.2f GiB), peak memory %.1f MiB\n",
                seconds, static_cast<unsigned long long>(mails), size / kGiB,
                velmor::bench::PeakResidentBytes() / kMiB);
    const std::string quoted = "'" + path->string() + "'";
    std::printf("  pffinfo: %s", LastLine("pffinfo " + quoted + " | grep -c 'Folders:'").c_str());
    std::printf("  lspst mails listed: %s",
                LastLine("lspst " + quoted + " | grep -c '^Email'").c_str());
    std::printf("  format rules: %s", FormatRules(*path).c_str());
    std::filesystem::remove(*path);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto answer = velmor::tools::AnswerOptions(argc, argv, kUsage)) {
        return *answer;
    }
    if (argc != 4) {
        return Usage();
    }
    const std::string format = argv[1];
    if (format == "pst-large") {
        return WriteLargePst(std::stod(argv[2]), argv[3]);
    }
    velmor::ExportOptions options;
    options.formats = {format == "eml", format == "mbox", false, false, false, format == "pst"};
    if (!options.formats.eml && !options.formats.mbox && !options.formats.pst) {
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
    std::optional<std::filesystem::path> pst;
    if (result.ok() && options.formats.pst) {
        pst = exporter.FinishPst(error);
        if (!pst) {
            std::fprintf(stderr, "export failed: %s\n", error.c_str());
            return 1;
        }
    }
    const double seconds = velmor::bench::SecondsSince(start);
    if (pst) {
        const std::string quoted = "'" + pst->string() + "'";
        std::printf("  pst %.1f MiB; lspst mails listed: %s",
                    static_cast<double>(std::filesystem::file_size(*pst)) / kMiB,
                    LastLine("lspst " + quoted + " | grep -c '^Email'").c_str());
        std::printf("  format rules: %s", FormatRules(*pst).c_str());
    }
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
