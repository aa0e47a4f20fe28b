// Times opening a message on a 1 GiB store whose mails have bodies, one in sixteen long
// enough to live in chunks in the long-value tree: the one-off build of the long-value index
// on first use, then the headers and body of messages spread over the whole store.
//
//   velmor_bench_message write PATH     writes the store
//   velmor_bench_message measure PATH   prints the figures

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_command.h"
#include "bench_store.h"
#include "browse/message_content.h"
#include "discovery/null_progress_sink.h"
#include "discovery/processing_driver.h"
#include "store_footprint.h"

namespace {

using velmor::bench::Clock;
using velmor::bench::kMiB;

constexpr velmor::bench::BenchStoreShape kShape{.longBodyEvery = 16};
constexpr size_t kMessages = 2000;

int Write(const char* path) {
    const auto start = Clock::now();
    const uint64_t size = velmor::bench::WriteBenchStore(path, kShape);
    std::printf("wrote %s: %.1f MiB in %.2f s\n", path, size / kMiB,
                velmor::bench::SecondsSince(start));
    return 0;
}

int Measure(const char* path) {
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
    const auto& entries = store.messageIndex.entries();
    if (entries.empty()) {
        std::fprintf(stderr, "no messages in %s\n", path);
        return 1;
    }

    auto start = Clock::now();
    const velmor::LongValueIndex& index =
        store.longValues.IndexOf(file, store.pageGroups, store.schema.msgLongValueId);
    const double indexBuild = velmor::bench::SecondsSince(start);
    const velmor::ObjectPageGroup* group = store.pageGroups.Find(store.schema.msgLongValueId);

    std::vector<double> times;
    size_t withBody = 0;
    uint64_t bodyUnits = 0;
    const size_t step = std::max<size_t>(1, entries.size() / kMessages);
    for (size_t i = 0; i < entries.size() && times.size() < kMessages; i += step) {
        const std::u16string itemId = entries[i].itemId();
        start = Clock::now();
        const velmor::MessageContent message =
            velmor::ReadMessageContent(context, itemId, u"", u"");
        times.push_back(velmor::bench::SecondsSince(start) * 1000.0);
        withBody += message.body.empty() ? 0 : 1;
        bodyUnits += message.body.best().size();
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) {
        sum += t;
    }
    std::printf("store:               %.1f MiB, %zu messages, %zu long values on %zu pages\n",
                file.fileSize() / kMiB, entries.size(), index.size(),
                group ? group->pages.size() : size_t{0});
    std::printf("long-value index:    %.3f s  (built once, on first use)\n", indexBuild);
    std::printf(
        "open a message:      %.3f ms mean, %.3f ms median, %.3f ms worst  "
        "(%zu messages, %zu with a body, %.1f KiB of text)\n",
        sum / times.size(), times[times.size() / 2], times.back(), times.size(), withBody,
        bodyUnits * 2 / 1024.0);
    std::printf("peak memory:         %.1f MiB\n", velmor::bench::PeakResidentBytes() / kMiB);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return velmor::bench::RunBenchCommand(argc, argv, "velmor_bench_message", Write, Measure);
}
