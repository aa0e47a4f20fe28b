// Times a plain sequential read of a store and the full discovery (all seven processing
// parts) of the same file, and reports peak memory.
//
//   velmor_bench_discovery write PATH     writes a store of about 1 GiB
//   velmor_bench_discovery measure PATH   prints the figures

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_command.h"
#include "bench_store.h"
#include "discovery/null_progress_sink.h"
#include "discovery/processing_driver.h"
#include "store_footprint.h"

namespace {

using velmor::bench::Clock;
using velmor::bench::kMiB;
constexpr int kRounds = 3;

// Reads the whole file in 64 KiB calls, as the first processing part does.
double PlainRead(const char* path) {
    const auto start = Clock::now();
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    std::vector<char> buffer(velmor::kChunkSize);
    unsigned long checksum = 0;
    ssize_t count = 0;
    while ((count = ::read(fd, buffer.data(), buffer.size())) > 0) {
        checksum += static_cast<unsigned char>(buffer[0]);
    }
    ::close(fd);
    const double seconds = velmor::bench::SecondsSince(start);
    std::fprintf(stderr, "%s", checksum == 0xFFFFFFFF ? " " : "");
    return seconds;
}

int Write(const char* path) {
    velmor::bench::BenchStoreShape shape;
    const auto start = Clock::now();
    const uint64_t size = velmor::bench::WriteBenchStore(path, shape);
    std::printf("wrote %s: %.1f MiB in %.2f s\n", path, size / kMiB,
                velmor::bench::SecondsSince(start));
    return 0;
}

int Measure(const char* path) {
    velmor::EdbFile file;
    if (file.OpenDatabase(path) != 0) {
        std::fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    const double megabytes = file.fileSize() / kMiB;
    PlainRead(path);  // bring the file into the page cache

    double bestRead = 1e9;
    double bestDiscovery = 1e9;
    size_t storeBytes = 0;
    size_t mailboxes = 0;
    size_t folders = 0;
    size_t messages = 0;
    for (int round = 0; round < kRounds; ++round) {
        bestRead = std::min(bestRead, PlainRead(path));

        velmor::RecoveredStore store;
        velmor::NullProgressSink sink;
        velmor::StopFlag stop;
        velmor::ProcessingContext context{file, store, sink, stop};
        const size_t heapBefore = velmor::bench::HeapInUseBytes();
        const auto start = Clock::now();
        velmor::RunProcessingParts(context);
        bestDiscovery = std::min(bestDiscovery, velmor::bench::SecondsSince(start));
        storeBytes = velmor::bench::HeapInUseBytes() - heapBefore;
        mailboxes = store.mailboxes.entries().size();
        folders = store.folders.size();
        messages = store.messageIndex.size();
    }
    const double peak = velmor::bench::PeakResidentBytes() / kMiB;
    const double lists = storeBytes / kMiB;
    std::printf("store:            %.1f MiB, %zu mailboxes, %zu folders, %zu messages\n", megabytes,
                mailboxes, folders, messages);
    std::printf("plain read:       %.3f s  (%.0f MB/s)\n", bestRead,
                megabytes / bestRead * kMiB / 1e6);
    std::printf("discovery:        %.3f s  (%.0f MB/s)\n", bestDiscovery,
                megabytes / bestDiscovery * kMiB / 1e6);
    std::printf("ratio:            %.2f x a plain read\n", bestDiscovery / bestRead);
    std::printf("peak memory:      %.1f MiB (store lists %.1f MiB, the rest %.1f MiB)\n", peak,
                lists, peak - lists);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return velmor::bench::RunBenchCommand(argc, argv, "velmor_bench_discovery", Write, Measure);
}
