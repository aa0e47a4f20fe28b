// A whole file through the seven processing parts and a browse of every folder of every
// mailbox.
#include "full_browse.h"
#include "memory_database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::MemoryDatabase database({data, size});
    velmor::test::ProcessAndBrowseAll(database.context);
    return 0;
}
