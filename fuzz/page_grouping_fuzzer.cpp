// Page grouping over arbitrary file bytes: every page's object id, the header's highest
// object id and a file cut anywhere.
#include "discovery/page_grouping.h"
#include "memory_database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::MemoryDatabase database({data, size});
    velmor::GroupPagesByObject(database.context);
    return 0;
}
