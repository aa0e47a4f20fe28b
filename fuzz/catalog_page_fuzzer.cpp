// The catalog scan of one page, with the highest object id it checks ids against.
#include "discovery/catalog_scan.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto maxObjectId = input.Take<int32_t>();
    std::vector<velmor::CatalogEntry> entries;
    velmor::ScanCatalogPage(velmor::PageView(input.rest()), maxObjectId, entries);
    return 0;
}
