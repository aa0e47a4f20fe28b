// The message-index scan of one page, at any file offset.
#include <deque>
#include <vector>

#include "fuzz_input.h"
#include "items/message_index_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto pageOffset = input.Take<int64_t>();
    std::vector<velmor::MessageIndexEntry> found;
    velmor::FindMessageRecords(velmor::PageView(input.rest()), pageOffset, found);
    const velmor::MessageIndex index(
        std::deque<velmor::MessageIndexEntry>(found.begin(), found.end()));
    for (const velmor::MessageIndexEntry& entry : index.entries()) {
        index.FindFirst(entry.itemId());
        entry.dateText();
    }
    return 0;
}
