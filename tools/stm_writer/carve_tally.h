#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "stm_writer/streaming_layout.h"

namespace velmor::stm {

// A message as a carver gave it back.
struct CarvedCopy {
    int64_t offset = 0;
    std::string bytes;
    bool marked = false;  // marked incomplete
};

// How the carved messages compare with those laid out, by cause. A message with a moved run
// should come back as the part left in place.
struct CarveTally {
    int64_t laid = 0;
    int64_t whole = 0;         // byte for byte
    int64_t wholeMarked = 0;   // of those, marked incomplete
    int64_t glued = 0;         // other bytes after the message
    int64_t epilogueLost = 0;  // ends at its closing boundary line, the text after it lost
    int64_t split = 0;         // another carved message starts inside it
    int64_t shorter = 0;       // ends early for another reason
    int64_t missing = 0;       // nothing carved at its offset
    int64_t different = 0;     // carved at its offset, with other bytes
    int64_t extra = 0;         // carved where no message was laid

    void Add(const CarveTally& other);
};

// expected[i] is the message laid at laid[i]; carved in file order.
CarveTally TallyCarving(const std::vector<std::string>& expected,
                        const std::vector<LaidMessage>& laid,
                        const std::vector<CarvedCopy>& carved);

// One line per cause, for a test's trace or a benchmark's report.
std::string Describe(const CarveTally& tally);

}  // namespace velmor::stm
