// The out-of-line recipient lookup over a whole file, for long-value ids the input names.
#include "browse/long_value_recipients.h"
#include "discovery/catalog_scan.h"
#include "discovery/page_grouping.h"
#include "discovery/schema_resolution.h"
#include "fuzz_input.h"
#include "memory_database.h"

namespace {

constexpr int kLookups = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    std::array<uint32_t, kLookups> ids{};
    for (uint32_t& id : ids) {
        id = input.Take<uint32_t>();
    }
    velmor::fuzz::MemoryDatabase database(input.rest());
    velmor::ProcessingContext& context = database.context;
    velmor::GroupPagesByObject(context);
    velmor::ScanCatalog(context);
    velmor::ResolveSchema(context);
    velmor::LongValueRecipients recipients(context);
    for (uint32_t id : ids) {
        recipients.Read(id);
    }
    return 0;
}
