// The message-index scan of one page, at any file offset.
#include "fuzz_input.h"
#include "items/message_index_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto pageOffset = input.Take<int64_t>();
    velmor::StopFlag stop;
    velmor::MessageIndex index;
    velmor::ScanMessagePage(velmor::PageView(input.rest()), pageOffset, stop, index);
    for (const velmor::MessageIndexEntry& entry : index.entries()) {
        index.FindFirst(entry.itemId());
        entry.dateText();
    }
    return 0;
}
