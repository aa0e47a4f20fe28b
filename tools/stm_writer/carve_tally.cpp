#include "stm_writer/carve_tally.h"

#include <algorithm>
#include <set>

namespace velmor::stm {

namespace {

// Whether the last line of bytes is a closing boundary line ("--...--").
bool EndsAtClosingLine(std::string_view bytes) {
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) {
        bytes.remove_suffix(1);
    }
    const size_t lineStart = bytes.find_last_of('\n');
    const std::string_view line =
        lineStart == std::string_view::npos ? bytes : bytes.substr(lineStart + 1);
    return line.size() >= 4 && line.starts_with("--") && line.ends_with("--");
}

}  // namespace

void CarveTally::Add(const CarveTally& other) {
    laid += other.laid;
    whole += other.whole;
    wholeMarked += other.wholeMarked;
    glued += other.glued;
    epilogueLost += other.epilogueLost;
    split += other.split;
    shorter += other.shorter;
    missing += other.missing;
    different += other.different;
    extra += other.extra;
}

CarveTally TallyCarving(const std::vector<std::string>& expected,
                        const std::vector<LaidMessage>& laid,
                        const std::vector<CarvedCopy>& carved) {
    CarveTally tally;
    tally.laid = static_cast<int64_t>(laid.size());
    std::set<int64_t> laidOffsets;
    for (const LaidMessage& message : laid) {
        laidOffsets.insert(message.offset);
    }
    for (const CarvedCopy& copy : carved) {
        tally.extra += laidOffsets.count(copy.offset) == 0;
    }
    for (size_t i = 0; i < laid.size(); ++i) {
        const std::string_view want =
            std::string_view(expected[i]).substr(0, static_cast<size_t>(laid[i].keptLength));
        const int64_t offset = laid[i].offset;
        const auto at = std::find_if(carved.begin(), carved.end(),
                                     [&](const CarvedCopy& copy) { return copy.offset == offset; });
        if (at == carved.end()) {
            ++tally.missing;
            continue;
        }
        const std::string_view got = at->bytes;
        if (got == want) {
            ++tally.whole;
            tally.wholeMarked += at->marked;
        } else if (got.size() > want.size() && got.starts_with(want)) {
            ++tally.glued;
        } else if (got.size() < want.size() && want.starts_with(got)) {
            const int64_t end = offset + static_cast<int64_t>(want.size());
            const bool startInside = std::any_of(
                carved.begin(), carved.end(),
                [&](const CarvedCopy& copy) { return copy.offset > offset && copy.offset < end; });
            if (startInside) {
                ++tally.split;
            } else if (EndsAtClosingLine(got)) {
                ++tally.epilogueLost;
            } else {
                ++tally.shorter;
            }
        } else {
            ++tally.different;
        }
    }
    return tally;
}

std::string Describe(const CarveTally& tally) {
    return "laid " + std::to_string(tally.laid) + ", whole " + std::to_string(tally.whole) +
           " (marked " + std::to_string(tally.wholeMarked) + "), glued " +
           std::to_string(tally.glued) + ", epilogue lost " + std::to_string(tally.epilogueLost) +
           ", split " + std::to_string(tally.split) + ", shorter " + std::to_string(tally.shorter) +
           ", missing " + std::to_string(tally.missing) + ", different " +
           std::to_string(tally.different) + ", extra " + std::to_string(tally.extra);
}

}  // namespace velmor::stm
