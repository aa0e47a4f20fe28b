// The item date text of any stored FILETIME, and the record time read from a page.
#include "fuzz_input.h"
#include "items/item_date.h"
#include "items/record_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto low = input.Take<uint32_t>();
    const auto high = input.Take<uint32_t>();
    const auto recordStart = input.Take<int16_t>();
    velmor::CItem record;
    velmor::FormatItemDate(record, low, high);
    velmor::FormatFileTime((static_cast<uint64_t>(high) << 32) | low);
    velmor::ReadRecordTime(velmor::PageView(input.rest()), recordStart, record);
    return 0;
}
