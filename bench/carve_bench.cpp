// Times the carving of a streaming file against a plain read of the same file, warm (the file
// in the page cache) and cold (evicted before each run), and carves hostile inputs made as
// they are read, with the time, the count found and the peak memory of each.
//
//   velmor_bench_carve write PATH [GiB]   writes a streaming file (default 1 GiB) of
//                                         self-written messages of 1 KB to 4 MB and one of
//                                         20 MB, laid out in runs with free pages between
//   velmor_bench_carve measure PATH       prints the figures
//   velmor_bench_carve hostile            carves the hostile inputs
//   velmor_bench_carve fidelity           lays the corpus and the 20 MB message out in
//                                         memory, carves them and compares byte for byte,
//                                         then again with one run of one message moved
//   velmor_bench_carve realmail DIR       lays the real messages of DIR (tests/data/
//                                         real_mail) out, as shipped and in CRLF;
//                                         counts what comes back by cause and times the
//                                         carving per message

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_command.h"
#include "bench_store.h"
#include "plain_read.h"
#include "program_arguments.h"
#include "stm_writer/carve_tally.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"
#include "stm_writer/real_mail.h"
#include "stm_writer/streaming_layout.h"
#include "streaming/file_byte_source.h"
#include "streaming/streaming_carve.h"

namespace {

using velmor::bench::Clock;
using velmor::bench::kGiB;
using velmor::bench::kMiB;
using velmor::bench::PlainRead;

constexpr int kCorpusMessages = 60;
constexpr int64_t kLargestCorpusMessage = 4 << 20;
constexpr int64_t kLargestMessage = 20 << 20;
constexpr int kRuns = 3;

double PeakMemoryMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

int Write(const char* path, double gib) {
    const auto start = Clock::now();
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        std::perror(path);
        return 1;
    }
    velmor::stm::StreamingLayout layout(
        [&](std::span<const uint8_t> bytes) { std::fwrite(bytes.data(), 1, bytes.size(), out); },
        1);
    const auto corpus = velmor::stm::MakeCorpus(kCorpusMessages, kLargestCorpusMessage, 1);
    const auto largest = velmor::stm::MakeMessage(velmor::stm::MessageKind::MixedAttachments,
                                                  kLargestMessage, 1, kCorpusMessages + 1);
    layout.AddMessage(largest.bytes, largest.multipart);
    const auto target = static_cast<int64_t>(gib * kGiB);
    for (size_t i = 0; layout.size() < target; i = (i + 1) % corpus.size()) {
        layout.AddMessage(corpus[i].bytes, corpus[i].multipart);
    }
    layout.Finish();
    std::fclose(out);
    std::printf("wrote %s: %.1f MiB, %zu messages, in %.2f s\n", path, layout.size() / kMiB,
                layout.messages().size(), velmor::bench::SecondsSince(start));
    return 0;
}

struct CarveRun {
    double seconds = 0;
    velmor::StreamingCarveCounts counts;
};

CarveRun Carve(velmor::ByteSource& source) {
    CarveRun run;
    const auto start = Clock::now();
    run.counts = velmor::CarveStreamingFile(
        source, velmor::CarveLimits{}, [](velmor::CarvedMessage&&, const velmor::MimeSummary&) {});
    run.seconds = velmor::bench::SecondsSince(start);
    return run;
}

CarveRun CarveFile(const char* path) {
    velmor::FileByteSource source;
    if (!source.Open(path)) {
        std::fprintf(stderr, "cannot open %s\n", path);
        std::exit(1);
    }
    return Carve(source);
}

template <typename Run>
double Median(const Run& run) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        times.push_back(run());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int Measure(const char* path) {
    const double size = static_cast<double>(std::filesystem::file_size(path));
    CarveRun last;
    for (const bool cold : {false, true}) {
        const char* label = cold ? "cold" : "warm";
        if (!cold) {
            PlainRead(path);  // into the cache
        }
        const double read = Median([&] {
            if (cold) {
                velmor::bench::EvictFromPageCache(path);
            }
            return PlainRead(path);
        });
        const double carve = Median([&] {
            if (cold) {
                velmor::bench::EvictFromPageCache(path);
            }
            last = CarveFile(path);
            return last.seconds;
        });
        std::printf("%s plain read: %.3f s  (%.0f MB/s, median of %d)\n", label, read,
                    size / read / 1e6, kRuns);
        std::printf("%s carve:      %.3f s  (%.0f MB/s, median of %d)\n", label, carve,
                    size / carve / 1e6, kRuns);
        std::printf("%s ratio:      %.2f x a plain read\n", label, carve / read);
    }
    // The share of the MIME reading: the carving alone, warm.
    const double carveOnly = Median([&] {
        velmor::FileByteSource source;
        source.Open(path);
        const auto start = Clock::now();
        velmor::CarveMessages(source, velmor::CarveLimits{}, [](velmor::CarvedMessage&&) {});
        return velmor::bench::SecondsSince(start);
    });
    std::printf("warm carve without the MIME reading: %.3f s  (%.0f MB/s)\n", carveOnly,
                size / carveOnly / 1e6);
    std::printf(
        "carved: %lld messages, %lld incomplete, %lld not read as messages; peak memory "
        "%.0f MiB for a file of %.0f MiB\n",
        static_cast<long long>(last.counts.messages),
        static_cast<long long>(last.counts.incomplete),
        static_cast<long long>(last.counts.notMessages), PeakMemoryMiB(), size / kMiB);
    return 0;
}

// Bytes made as they are read: a head, then one byte repeated (or a repeated pattern).
class MadeSource : public velmor::ByteSource {
public:
    MadeSource(std::string head, std::string pattern, int64_t size)
        : head_(std::move(head)), pattern_(std::move(pattern)), size_(size) {}
    int64_t size() const override { return size_; }
    int64_t Read(int64_t offset, std::span<uint8_t> buffer) override {
        const auto count = std::min<int64_t>(static_cast<int64_t>(buffer.size()), size_ - offset);
        const auto headSize = static_cast<int64_t>(head_.size());
        const auto period = static_cast<int64_t>(pattern_.size());
        // Whole pieces of the head or the pattern at a time: making the bytes must not
        // weigh in the carving's time.
        for (int64_t done = 0; done < count;) {
            const int64_t at = offset + done;
            const std::string_view piece =
                at < headSize ? std::string_view(head_).substr(static_cast<size_t>(at))
                              : std::string_view(pattern_).substr(
                                    static_cast<size_t>((at - headSize) % period));
            const auto length = std::min<int64_t>(static_cast<int64_t>(piece.size()), count - done);
            std::memcpy(buffer.data() + done, piece.data(), static_cast<size_t>(length));
            done += length;
        }
        return count;
    }

private:
    std::string head_;
    std::string pattern_;
    int64_t size_;
};

void Report(const char* label, velmor::ByteSource& source) {
    const CarveRun run = Carve(source);
    std::printf(
        "%-34s %7.0f MiB in %6.2f s: %lld messages, %lld incomplete; peak memory %.0f MiB\n", label,
        source.size() / kMiB, run.seconds, static_cast<long long>(run.counts.messages),
        static_cast<long long>(run.counts.incomplete), PeakMemoryMiB());
}

int Hostile() {
    const std::string multipartHead =
        "From: a@example.org\r\nSubject: no end\r\nContent-Type: multipart/mixed; "
        "boundary=b\r\n\r\n--b\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    {
        MadeSource random(
            "",
            [] {
                std::string bytes(1 << 20, '\0');
                uint64_t state = 88172645463325252ull;
                for (char& byte : bytes) {
                    state ^= state << 13;
                    state ^= state >> 7;
                    state ^= state << 17;
                    byte = static_cast<char>(state);
                }
                return bytes;
            }(),
            int64_t{1} << 30);
        Report("random bytes", random);
    }
    {
        const std::string block =
            "From: a@example.org\r\nTo: b@example.org\r\nSubject: repeated.\r\n\r\n\r\n";
        MadeSource repeated("", block, static_cast<int64_t>(block.size()) * 1000000);
        Report("one header block, a million times", repeated);
    }
    {
        MadeSource endless(multipartHead,
                           "QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xt\r\n",
                           int64_t{1} << 30);
        Report("a multipart without end", endless);
    }
    {
        MadeSource line(
            multipartHead,
            [] {
                std::string groups;
                while (groups.size() < 4096) {
                    groups += "QUJD";
                }
                return groups;
            }(),
            int64_t{4} << 30);
        Report("a base64 line of 4 GiB", line);
    }
    return 0;
}

// Carves a file laid out in memory and counts the messages that came back byte for byte and
// the one whose run was moved (movedMessage, -1: none) as cut where the run was.
int CheckFidelity(int movedMessage) {
    auto corpus = velmor::stm::MakeCorpus(kCorpusMessages, kLargestCorpusMessage, 1);
    corpus.push_back(velmor::stm::MakeMessage(velmor::stm::MessageKind::MixedAttachments,
                                              kLargestMessage, 1, kCorpusMessages + 1));
    std::vector<velmor::stm::LaidMessage> laid;
    const std::vector<uint8_t> file = velmor::stm::LayCorpus(corpus, 1, movedMessage, &laid);
    velmor::MemoryByteSource source(file);
    size_t carved = 0;
    size_t intact = 0;
    size_t cutAsExpected = 0;
    velmor::CarveStreamingFile(
        source, velmor::CarveLimits{},
        [&](velmor::CarvedMessage&& message, const velmor::MimeSummary&) {
            const size_t i = carved++;
            if (i >= laid.size() || message.offset != laid[i].offset) {
                return;
            }
            if (laid[i].runMoved) {
                cutAsExpected +=
                    !message.incompleteReason.empty() &&
                    message.bytes ==
                        std::string_view(corpus[i].bytes).substr(0, laid[i].keptLength);
            } else {
                intact += message.incompleteReason.empty() && message.bytes == corpus[i].bytes;
            }
        });
    int64_t largest = 0;
    for (const auto& message : corpus) {
        largest = std::max<int64_t>(largest, static_cast<int64_t>(message.bytes.size()));
    }
    std::printf(
        "%s: %zu messages laid out (1 KB to %.0f MB, %.0f MiB in all), %zu carved, %zu "
        "byte for byte",
        movedMessage < 0 ? "as laid out" : "one run moved", corpus.size(), largest / 1e6,
        file.size() / kMiB, carved, intact);
    if (movedMessage >= 0) {
        std::printf(", the moved one %s", cutAsExpected == 1
                                              ? "incomplete and cut where its run was"
                                              : "NOT as expected");
    }
    std::printf("\n");
    const size_t expectedIntact = corpus.size() - (movedMessage < 0 ? 0 : 1);
    return carved == corpus.size() && intact == expectedIntact &&
                   cutAsExpected == (movedMessage < 0 ? 0u : 1u)
               ? 0
               : 1;
}

int Fidelity() {
    // The largest message is the last; the first multipart longer than two runs loses one.
    const auto corpus = velmor::stm::MakeCorpus(kCorpusMessages, kLargestCorpusMessage, 1);
    int moved = 0;
    while (!corpus[moved].multipart || corpus[moved].bytes.size() < 3 * 64 * 1024) {
        ++moved;
    }
    return CheckFidelity(-1) | CheckFidelity(moved);
}

// Copies of the real messages, as many as fill about this much, for the time per message.
constexpr int64_t kRealMailTimedBytes = 64 << 20;
constexpr uint32_t kRealMailSeeds = 4;

int RealMail(const char* directory) {
    const std::vector<std::string> shipped = velmor::stm::ReadRealMail(directory);
    const std::vector<std::string> crlf = [&] {
        std::vector<std::string> messages;
        for (const std::string& message : shipped) {
            messages.push_back(velmor::stm::WithCrlf(message));
        }
        return messages;
    }();
    int failures = 0;
    for (const auto* messages : {&shipped, &crlf}) {
        {
            velmor::stm::CarveTally total;
            for (uint32_t seed = 1; seed <= kRealMailSeeds; ++seed) {
                std::vector<velmor::stm::LaidMessage> laid;
                const std::vector<uint8_t> file = velmor::stm::LayRealMail(*messages, seed, laid);
                std::vector<velmor::stm::CarvedCopy> carved;
                velmor::MemoryByteSource source(file);
                velmor::CarveStreamingFile(
                    source, velmor::CarveLimits{},
                    [&](velmor::CarvedMessage&& message, const velmor::MimeSummary&) {
                        carved.push_back({message.offset, std::string(message.bytes),
                                          !message.incompleteReason.empty()});
                    });
                const velmor::stm::CarveTally tally =
                    velmor::stm::TallyCarving(*messages, laid, carved);
                total.Add(tally);
            }
            std::printf("%s, seeds 1 to %u: %s\n", messages == &shipped ? "as shipped" : "CRLF",
                        kRealMailSeeds, velmor::stm::Describe(total).c_str());
            failures += total.whole != total.laid || total.extra != 0;
        }
    }
    // The time per message: copies laid out with none moved, carved and read.
    std::vector<std::string> copies;
    int64_t bytes = 0;
    while (bytes < kRealMailTimedBytes) {
        for (const std::string& message : crlf) {
            copies.push_back(message);
            bytes += static_cast<int64_t>(message.size());
        }
    }
    std::vector<velmor::stm::LaidMessage> laid;
    const std::vector<uint8_t> file = velmor::stm::LayRealMail(copies, 1, laid);
    velmor::MemoryByteSource source(file);
    const double carve = Median([&] { return Carve(source).seconds; });
    const double carveOnly = Median([&] {
        const auto start = Clock::now();
        velmor::CarveMessages(source, velmor::CarveLimits{}, [](velmor::CarvedMessage&&) {});
        return velmor::bench::SecondsSince(start);
    });
    std::printf(
        "%zu messages (%.1f MiB of mail in %.1f MiB): %.4f ms per message carved and read, "
        "%.4f ms without the MIME reading (median of %d)\n",
        copies.size(), bytes / kMiB, file.size() / kMiB, carve * 1e3 / copies.size(),
        carveOnly * 1e3 / copies.size(), kRuns);
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    constexpr char kUsage[] =
        "usage: velmor_bench_carve write PATH [GiB] | measure PATH | hostile | fidelity | "
        "realmail DIR";
    if (const auto answer = velmor::tools::AnswerOptions(argc, argv, kUsage)) {
        return *answer;
    }
    if (argc >= 3 && std::strcmp(argv[1], "write") == 0) {
        return Write(argv[2], argc >= 4 ? std::atof(argv[3]) : 1.0);
    }
    if (argc == 3 && std::strcmp(argv[1], "measure") == 0) {
        return Measure(argv[2]);
    }
    if (argc == 2 && std::strcmp(argv[1], "hostile") == 0) {
        return Hostile();
    }
    if (argc == 2 && std::strcmp(argv[1], "fidelity") == 0) {
        return Fidelity();
    }
    if (argc == 3 && std::strcmp(argv[1], "realmail") == 0) {
        return RealMail(argv[2]);
    }
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
}
