// The recipient-list decoder over a block, at the position and length the input names.
#include "browse/recipient_list.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto pos = input.Take<int16_t>();
    const auto len = input.Take<int16_t>();
    velmor::DecodeRecipientNames(velmor::PageView(input.rest()), pos, len);
    return 0;
}
