// Builds the full-text index of a mailbox of 100,000 mails with 2 KB bodies in 1,000 folders
// and times it, its memory and its size against the bodies', reopening it from the cache, and
// 100 queries of each kind (a word, a phrase, a sender with a date range), set against a plain
// linear scan of the same bodies.
//
//   velmor_bench_search write PATH     writes the store
//   velmor_bench_search write-folders N PATH   writes a smaller store of N folders (for profiling)
//   velmor_bench_search measure PATH   prints the figures (the index goes beside PATH)
//   velmor_bench_search queries PATH   times the queries only, on the index beside PATH

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench_command.h"
#include "browse/folder_tree_population.h"
#include "browse/mail_body.h"
#include "browse/plain_folder_tree.h"
#include "discovery/null_progress_sink.h"
#include "discovery/processing_driver.h"
#include "edb/text_codec.h"
#include "edb_writer/entry_id.h"
#include "edb_writer/file_page_sink.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_writer.h"
#include "program_arguments.h"
#include "search/search_index.h"
#include "search_words.h"
#include "store_footprint.h"

namespace {

using velmor::bench::Clock;
using velmor::bench::kMiB;
using velmor::testdb::EntryId;

constexpr int kFolders = 1000;
constexpr int kMailsPerFolder = 100;
constexpr size_t kBodyBytes = 2048;
constexpr int kVocabulary = 20000;
constexpr int kQueries = 100;
constexpr size_t kMatchesShown = 100;
constexpr uint16_t kReplica = 1;

using velmor::bench::PhraseQuery;
using velmor::bench::SearchWord;
using velmor::bench::SenderDateQuery;
using velmor::bench::WordQuery;

// Small, fast and the same in every run.
struct Random {
    uint64_t state = 88172645463325252ULL;
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state >> 11);
    }
    // Skewed towards small numbers, as word frequencies are.
    uint32_t Skewed(uint32_t limit) { return (Next() % limit) * (Next() % limit) / limit; }
};

std::string Body(Random& random) {
    std::string body;
    while (body.size() < kBodyBytes) {
        body += SearchWord(random.Skewed(kVocabulary)) + (random.Next() % 12 == 0 ? ".\r\n" : " ");
    }
    return body;
}

std::string SenderName(int number) {
    return "Sender " + SearchWord(static_cast<uint32_t>(number) + 1000) + " " +
           std::to_string(number);
}

int WriteFolders(const char* path, int folders) {
    const auto start = Clock::now();
    uint64_t counter = 0x10000;
    const auto nextId = [&] { return velmor::testdb::MakeEntryId(kReplica, ++counter); };
    Random random;
    {
        velmor::testdb::FilePageSink sink(path);
        velmor::testdb::StoreWriter writer(sink);
        velmor::testdb::Mailbox mailbox;
        mailbox.name = velmor::bench::kSearchMailbox;
        mailbox.key = nextId();
        writer.AddMailbox(mailbox);
        velmor::testdb::Folder top;
        top.parent = mailbox.key;
        top.name = "Top of Information Store";
        top.id = nextId();
        writer.AddFolder(top);
        int number = 0;
        for (int f = 0; f < folders; ++f) {
            velmor::testdb::Folder folder;
            folder.parent = top.id;
            folder.name = "Project " + std::to_string(f);
            folder.containerClass = "IPF.Note";
            folder.id = nextId();
            writer.AddFolder(folder);
            for (int m = 0; m < kMailsPerFolder; ++m, ++number) {
                velmor::testdb::Item mail;
                mail.id = nextId();
                mail.time = velmor::testdb::FileTimeFromUtc(2005 + number % 4, 1 + number % 12,
                                                            1 + number % 28, 9, 0, 0);
                mail.subject = SearchWord(random.Skewed(kVocabulary)) + " " +
                               SearchWord(random.Skewed(kVocabulary)) + " " +
                               std::to_string(number);
                mail.sender = SenderName(number % velmor::bench::kSearchSenders);
                mail.recipients = {{SenderName((number + 7) % velmor::bench::kSearchSenders)}};
                mail.content.text = Body(random);
                writer.AddItem(folder.id, mail);
            }
        }
        writer.Finish();
        sink.Close();
    }
    std::printf("wrote %s: %.1f MiB in %.1f s\n", path, std::filesystem::file_size(path) / kMiB,
                velmor::bench::SecondsSince(start));
    return 0;
}

int Write(const char* path) {
    return WriteFolders(path, kFolders);
}

struct Percentiles {
    double median = 0;
    double p95 = 0;
};

Percentiles Times(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 95 / 100]};
}

uint64_t DirectoryBytes(const std::filesystem::path& directory) {
    uint64_t bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
        bytes += entry.is_regular_file() ? entry.file_size() : 0;
    }
    return bytes;
}

void TimeQueries(const char* label, const velmor::SearchIndex& index,
                 const std::function<std::string(int)>& query) {
    std::vector<double> times;
    size_t found = 0;
    for (int i = 0; i < kQueries; ++i) {
        std::string error;
        const auto start = Clock::now();
        found += index.Find(query(i), kMatchesShown, error).size();
        times.push_back(velmor::bench::SecondsSince(start) * 1000.0);
    }
    const Percentiles p = Times(times);
    std::printf(
        "%-22s p95 %7.2f ms, median %7.2f ms  (%d queries, %.1f matches each of the "
        "first %zu)\n",
        label, p.p95, p.median, kQueries, static_cast<double>(found) / kQueries, kMatchesShown);
}

// The linear scan a search without an index makes: every body, looked at for the text.
void TimeScans(const char* label, const std::vector<std::string>& bodies,
               const std::function<std::string(int)>& needle) {
    constexpr int kScans = 10;
    std::vector<double> times;
    size_t found = 0;
    for (int i = 0; i < kScans; ++i) {
        const std::string text = needle(i);
        const auto start = Clock::now();
        for (const std::string& body : bodies) {
            found += body.find(text) != std::string::npos ? 1 : 0;
        }
        times.push_back(velmor::bench::SecondsSince(start) * 1000.0);
    }
    const Percentiles p = Times(times);
    std::printf(
        "%-22s p95 %7.2f ms, median %7.2f ms  (%d scans of bodies in memory, %.1f "
        "bodies found each)\n",
        label, p.p95, p.median, kScans, static_cast<double>(found) / kScans);
}

// The load average of the last minute: other work on the machine lengthens the build.
std::string MachineLoad() {
    std::ifstream loadAverage("/proc/loadavg");
    std::string load;
    loadAverage >> load;
    return load;
}

// With queriesOnly, an index left in the cache by an earlier run is reused and only the
// queries are timed: for profiling them.
int MeasureWith(const char* path, bool queriesOnly) {
    velmor::EdbFile file;
    velmor::RecoveredStore store;
    velmor::NullProgressSink sink;
    velmor::StopFlag stop;
    velmor::ProcessingContext context{file, store, sink, stop};
    if (file.OpenDatabase(path) != 0) {
        std::fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    velmor::RunProcessingParts(context);
    if (store.mailboxes.entries().empty()) {
        std::fprintf(stderr, "no mailbox in %s\n", path);
        return 1;
    }
    const std::u16string label = store.mailboxes.entries().front().displayName;
    velmor::PlainFolderTree tree;
    velmor::PopulateFolderTree(tree, store, sink, label);
    const double peakBefore = velmor::bench::PeakResidentBytes() / kMiB;

    velmor::SearchIndexOptions options;
    options.cacheDirectory = std::filesystem::path(path).parent_path() / "search-cache";
    if (queriesOnly) {
        velmor::SearchIndex cached;
        cached.Open(context, tree, path, label, options);
        TimeQueries("query, one word:", cached, WordQuery);
        TimeQueries("query, phrase:", cached, PhraseQuery);
        TimeQueries("query, from: AND date:", cached, SenderDateQuery);
        return 0;
    }
    std::filesystem::remove_all(options.cacheDirectory);
    velmor::SearchIndex index;
    auto start = Clock::now();
    const double processorBefore = velmor::bench::ProcessorSeconds();
    index.Open(context, tree, path, label, options);
    const double build = velmor::bench::SecondsSince(start);
    const double buildProcessor = velmor::bench::ProcessorSeconds() - processorBefore;
    const double peakAfter = velmor::bench::PeakResidentBytes() / kMiB;

    start = Clock::now();
    velmor::SearchIndex reopened;
    reopened.Open(context, tree, path, label, options);
    const double reopen = velmor::bench::SecondsSince(start);

    // The bodies as a scan without an index reads them: each from the store, in index order.
    std::vector<std::string> bodies;
    uint64_t bodyBytes = 0;
    start = Clock::now();
    for (const auto& entry : store.messageIndex.entries()) {
        const velmor::MailBody body =
            velmor::ReadMailBodyOfItem(context, entry.itemId(), std::nullopt);
        bodies.push_back(velmor::Utf16ToUtf8(body.best()));
        bodyBytes += bodies.back().size();
    }
    const double readBodies = velmor::bench::SecondsSince(start);

    std::printf("store:                 %.1f MiB, %u items indexed, %.1f MiB of bodies\n",
                file.fileSize() / kMiB, index.documents(), bodyBytes / kMiB);
    std::printf(
        "index build:           %.1f s, processor time %.1f s  (origin %s, machine load %s)\n",
        build, buildProcessor,
        index.origin() == velmor::SearchIndex::Origin::Built ? "built" : "other",
        MachineLoad().c_str());
    std::printf("peak memory:           %.1f MiB after the discovery, %.1f MiB after indexing\n",
                peakBefore, peakAfter);
    const double indexBytes = static_cast<double>(DirectoryBytes(index.directory()));
    std::printf("index size:            %.1f MiB, %.2f x the bodies\n", indexBytes / kMiB,
                indexBytes / static_cast<double>(bodyBytes));
    std::printf("reopen from the cache: %.3f s  (origin %s, %u items)\n", reopen,
                reopened.origin() == velmor::SearchIndex::Origin::Cache ? "cache" : "other",
                reopened.documents());
    TimeQueries("query, one word:", reopened, WordQuery);
    TimeQueries("query, phrase:", reopened, PhraseQuery);
    TimeQueries("query, from: AND date:", reopened, SenderDateQuery);
    std::printf("linear scan, reading every body from the store once: %.1f s\n", readBodies);
    TimeScans("scan, one word:", bodies, WordQuery);
    TimeScans("scan, phrase:", bodies, [](int i) {
        return SearchWord(static_cast<uint32_t>(i % 50)) + " " +
               SearchWord(static_cast<uint32_t>(i % 7));
    });
    return 0;
}

int Measure(const char* path) {
    return MeasureWith(path, false);
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto answer = velmor::tools::AnswerOptions(
            argc, argv,
            "usage: velmor_bench_search write PATH | measure PATH | queries PATH | "
            "write-folders COUNT PATH")) {
        return *answer;
    }
    if (argc == 3 && std::string(argv[1]) == "queries") {
        return MeasureWith(argv[2], true);
    }
    if (argc == 4 && std::string(argv[1]) == "write-folders") {
        return WriteFolders(argv[3], std::stoi(argv[2]));
    }
    return velmor::bench::RunBenchCommand(argc, argv, "velmor_bench_search", Write, Measure);
}
