// Times the full discovery (all seven processing parts) against a plain sequential read of the
// same file, with the file in the page cache (warm) and evicted from it before each run (cold),
// and reports the bytes read from the disk, peak memory and the message index's cost.
//
//   velmor_bench_discovery write PATH [GIB]   writes a store of about 1 GiB (or GIB GiB)
//   velmor_bench_discovery measure PATH       warm figures (also with the pass and the scans
//                                             on one thread) and cold figures
//   velmor_bench_discovery measure-cold PATH  cold figures only (stores larger than memory)

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench_command.h"
#include "bench_store.h"
#include "discovery/null_progress_sink.h"
#include "discovery/processing_driver.h"
#include "plain_read.h"
#include "program_arguments.h"
#include "store_footprint.h"

namespace {

using velmor::bench::Clock;
using velmor::bench::kMiB;
using velmor::bench::PlainRead;
using velmor::bench::ProcessorSeconds;
constexpr int kWarmRounds = 5;
constexpr int kColdRounds = 5;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Bytes this process has had read from the storage device so far.
uint64_t DiskReadBytes() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "read_bytes:") {
            return value;
        }
    }
    return 0;
}

// Notes when each processing part starts: the part announces itself in the status line.
class PartClockSink : public velmor::NullProgressSink {
public:
    void SetScanStatus(const std::u16string& text) override {
        if (text.starts_with(u"Processing Part")) {
            starts.push_back(Clock::now());
        }
    }

    std::vector<Clock::time_point> starts;
};

struct DiscoveryRun {
    double seconds = 0;
    double processorSeconds = 0;  // of all threads
    // Seconds from each part's start to the next part's start (the last: to the end).
    std::vector<double> partSeconds;
    uint64_t diskBytes = 0;
    size_t storeBytes = 0;
    size_t indexBytes = 0;
    size_t mailboxes = 0;
    size_t folders = 0;
    size_t messages = 0;
};

// The full discovery on the given number of threads (0: one per core).
DiscoveryRun Discover(const char* path, unsigned threads = 0) {
    velmor::EdbFile file;
    file.OpenDatabase(path);
    velmor::RecoveredStore store;
    PartClockSink sink;
    velmor::StopFlag stop;
    velmor::ProcessingContext context{file, store, sink, stop};
    context.threads = threads;
    DiscoveryRun run;
    const size_t heapBefore = velmor::bench::HeapInUseBytes();
    const uint64_t diskBefore = DiskReadBytes();
    const double processorBefore = ProcessorSeconds();
    const auto start = Clock::now();
    velmor::RunProcessingParts(context);
    const auto end = Clock::now();
    run.seconds = std::chrono::duration<double>(end - start).count();
    run.processorSeconds = ProcessorSeconds() - processorBefore;
    sink.starts.push_back(end);
    for (size_t i = 0; i + 1 < sink.starts.size(); ++i) {
        run.partSeconds.push_back(
            std::chrono::duration<double>(sink.starts[i + 1] - sink.starts[i]).count());
    }
    run.diskBytes = DiskReadBytes() - diskBefore;
    // The message index's hash table and chains are mapped outside the heap.
    const size_t tableBytes = store.messageIndex.residentBytes();
    run.storeBytes = velmor::bench::HeapInUseBytes() - heapBefore + tableBytes;
    run.mailboxes = store.mailboxes.entries().size();
    run.folders = store.folders.size();
    run.messages = store.messageIndex.size();
    const size_t heapWithIndex = velmor::bench::HeapInUseBytes();
    store.messageIndex.Clear();
    run.indexBytes = heapWithIndex - velmor::bench::HeapInUseBytes() + tableBytes;
    return run;
}

int Write(const char* path, double gibibytes) {
    velmor::bench::BenchStoreShape shape;
    shape.mailboxes = static_cast<int>(shape.mailboxes * gibibytes);
    return velmor::bench::WriteAndReport(path, shape);
}

void PrintStore(const char* path, const DiscoveryRun& run) {
    velmor::EdbFile file;
    file.OpenDatabase(path);
    std::printf("store:            %.1f MiB, %zu mailboxes, %zu folders, %zu messages\n",
                file.fileSize() / kMiB, run.mailboxes, run.folders, run.messages);
}

void PrintMemory(const DiscoveryRun& run) {
    const double peak = velmor::bench::PeakResidentBytes() / kMiB;
    const double lists = run.storeBytes / kMiB;
    std::printf("peak memory:      %.1f MiB (store lists %.1f MiB, the rest %.1f MiB)\n", peak,
                lists, peak - lists);
    std::printf("message index:    %.1f bytes per message (entries, id chains and hash table)\n",
                run.messages == 0 ? 0.0 : static_cast<double>(run.indexBytes) / run.messages);
}

void MeasureCold(const char* path, double megabytes) {
    std::vector<double> reads;
    std::vector<double> discoveries;
    DiscoveryRun last;
    for (int round = 0; round < kColdRounds; ++round) {
        velmor::bench::EvictFromPageCache(path);
        reads.push_back(PlainRead(path));
        velmor::bench::EvictFromPageCache(path);
        last = Discover(path);
        discoveries.push_back(last.seconds);
    }
    const double read = Median(reads);
    const double discovery = Median(discoveries);
    std::printf("cold plain read:  %.3f s  (%.0f MB/s, median of %d)\n", read,
                megabytes / read * kMiB / 1e6, kColdRounds);
    std::printf("cold discovery:   %.3f s  (%.0f MB/s, median of %d)\n", discovery,
                megabytes / discovery * kMiB / 1e6, kColdRounds);
    std::printf("cold ratio:       %.2f x a plain read\n", discovery / read);
    std::printf("read from disk:   %.2f x the file\n", last.diskBytes / (megabytes * kMiB));
}

int Measure(const char* path, bool warm) {
    velmor::EdbFile file;
    if (file.OpenDatabase(path) != 0) {
        std::fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    const double megabytes = file.fileSize() / kMiB;
    DiscoveryRun last;
    if (warm) {
        PlainRead(path);  // bring the file into the page cache
        std::vector<double> reads;
        std::vector<double> discoveries;
        std::vector<double> processor;
        std::vector<double> oneThread;
        std::vector<std::vector<double>> parts;
        for (int round = 0; round < kWarmRounds; ++round) {
            reads.push_back(PlainRead(path));
            oneThread.push_back(Discover(path, 1).seconds);
            last = Discover(path);
            discoveries.push_back(last.seconds);
            processor.push_back(last.processorSeconds);
            parts.resize(std::max(parts.size(), last.partSeconds.size()));
            for (size_t part = 0; part < last.partSeconds.size(); ++part) {
                parts[part].push_back(last.partSeconds[part]);
            }
        }
        const double read = Median(reads);
        const double discovery = Median(discoveries);
        PrintStore(path, last);
        std::printf("warm plain read:  %.3f s  (%.0f MB/s, median of %d)\n", read,
                    megabytes / read * kMiB / 1e6, kWarmRounds);
        std::printf("warm discovery:   %.3f s  (%.0f MB/s, median of %d)\n", discovery,
                    megabytes / discovery * kMiB / 1e6, kWarmRounds);
        std::printf("warm ratio:       %.2f x a plain read\n", discovery / read);
        std::printf("warm parts:      ");
        for (size_t part = 0; part < parts.size(); ++part) {
            std::printf(" %zu: %.3f", part + 1, Median(parts[part]));
        }
        std::printf(" s (medians)\n");
        std::printf("warm processor:   %.3f s of all threads (median)\n", Median(processor));
        std::printf(
            "warm, one thread: %.3f s  (%.2f x a plain read; the pass and the scans on one "
            "thread)\n",
            Median(oneThread), Median(oneThread) / read);
    }
    MeasureCold(path, megabytes);
    if (!warm) {
        last = Discover(path);
        PrintStore(path, last);
    }
    PrintMemory(last);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto answer = velmor::tools::AnswerOptions(
            argc, argv,
            "usage: velmor_bench_discovery write PATH [GiB] | measure PATH | measure-cold PATH")) {
        return *answer;
    }
    if (argc == 4 && std::strcmp(argv[1], "write") == 0) {
        return Write(argv[2], std::atof(argv[3]));
    }
    if (argc == 3 && std::strcmp(argv[1], "measure-cold") == 0) {
        return Measure(argv[2], false);
    }
    return velmor::bench::RunBenchCommand(
        argc, argv, "velmor_bench_discovery", [](const char* path) { return Write(path, 1); },
        [](const char* path) { return Measure(path, true); });
}
