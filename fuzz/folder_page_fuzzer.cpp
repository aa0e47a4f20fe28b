// The folder table scan of one page, with the container-class column it looks for.
#include "fuzz_input.h"
#include "items/folder_table_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto containerClassColumn = input.Take<int32_t>();
    std::vector<velmor::FolderEntry> folders;
    velmor::ScanFolderPage(velmor::PageView(input.rest()), containerClassColumn, folders);
    return 0;
}
