// Times opening a message on a 1 GiB store whose mails have bodies, one in sixteen long
// enough to live in chunks in the long-value tree: the one-off build of the long-value index
// on first use, then the headers and body of messages spread over the whole store, first
// read from disk (the file's cached pages dropped), then again from the cache.
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
    return velmor::bench::WriteAndReport(path, kShape);
}

struct Openings {
    double mean = 0;
    double median = 0;
    double worst = 0;
    size_t count = 0;
    size_t withBody = 0;
    uint64_t bodyUnits = 0;
};

// Opens messages spread evenly over the message index, as the message window does.
Openings OpenMessages(velmor::ProcessingContext& context) {
    const auto& entries = context.store.messageIndex.entries();
    std::vector<double> times;
    Openings openings;
    const size_t step = std::max<size_t>(1, entries.size() / kMessages);
    for (size_t i = 0; i < entries.size() && times.size() < kMessages; i += step) {
        const std::u16string itemId = entries[i].itemId();
        const auto start = Clock::now();
        const velmor::MessageContent message =
            velmor::ReadMessageContent(context, itemId, u"", u"", std::nullopt);
        times.push_back(velmor::bench::SecondsSince(start) * 1000.0);
        openings.withBody += message.body.empty() ? 0 : 1;
        openings.bodyUnits += message.body.best().size();
    }
    std::sort(times.begin(), times.end());
    for (double t : times) {
        openings.mean += t;
    }
    openings.count = times.size();
    openings.mean /= static_cast<double>(std::max<size_t>(1, times.size()));
    openings.median = times.empty() ? 0 : times[times.size() / 2];
    openings.worst = times.empty() ? 0 : times.back();
    return openings;
}

void PrintOpenings(const char* label, const Openings& o) {
    std::printf(
        "%s %.3f ms mean, %.3f ms median, %.3f ms worst  (%zu messages, %zu with a "
        "body, %.1f KiB of text)\n",
        label, o.mean, o.median, o.worst, o.count, o.withBody, o.bodyUnits * 2 / 1024.0);
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

    velmor::bench::EvictFromPageCache(path);
    const auto start = Clock::now();
    const velmor::LongValueIndex& index =
        store.longValues.IndexOf(file, store.pageGroups, store.schema.msgLongValueId);
    const double indexBuild = velmor::bench::SecondsSince(start);
    const velmor::ObjectPageGroup* group = store.pageGroups.Find(store.schema.msgLongValueId);
    velmor::bench::EvictFromPageCache(path);
    const Openings cold = OpenMessages(context);
    const Openings warm = OpenMessages(context);

    std::printf("store:               %.1f MiB, %zu messages, %zu long values on %zu pages\n",
                file.fileSize() / kMiB, entries.size(), index.size(),
                group ? group->pages.size() : size_t{0});
    std::printf("long-value index:    %.3f s  (built once, on first use, from disk)\n", indexBuild);
    PrintOpenings("open a message:     ", cold);
    PrintOpenings("again, cached:      ", warm);
    std::printf("peak memory:         %.1f MiB\n", velmor::bench::PeakResidentBytes() / kMiB);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return velmor::bench::RunBenchCommand(argc, argv, "velmor_bench_message", Write, Measure);
}
