#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "discovery/processing_context.h"

namespace velmor {

// Recipient lists stored out of line, on the pages of the message table's long-value tree.
// The page of a long-value id is the first page, in page-list order, whose key (bytes 42 and
// 43, high byte first) equals the id; a page that cannot be positioned or read ends the search.
// The keys are read once, on first use, instead of once per mail.
class LongValueRecipients {
public:
    explicit LongValueRecipients(ProcessingContext& context) : context_(context) {}

    // The recipient names stored under the long-value id; nothing when no page has it, when
    // the page cannot be read whole or when a stop was seen.
    std::optional<std::vector<std::u16string>> Read(uint32_t longValueId);

private:
    // Reads the keys of the long-value pages; false when a stop was seen.
    bool IndexPages();

    ProcessingContext& context_;
    bool indexed_ = false;
    std::unordered_map<uint32_t, int32_t> firstPageByKey_;
};

}  // namespace velmor
