// The six folder item scanners over a whole file, for the folder id and message table that
// the input names.
#include "edb/stored_value.h"
#include "fuzz_input.h"
#include "items/folder_item_scanners.h"
#include "memory_database.h"
#include "store_parts.h"

namespace {

constexpr uint8_t kScannerCount = 6;

template <typename Record, typename Scan>
void RunScanner(velmor::ProcessingContext& context, int32_t table, const std::u16string& folderId,
                Scan scan) {
    std::vector<Record> items;
    scan(context, table, items, folderId);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto scanner = input.Take<uint8_t>();
    const auto folderIdBytes = input.Take<std::array<uint8_t, 8>>();
    const auto table = input.Take<int32_t>();
    const std::u16string folderId =
        velmor::HexKey(velmor::PageView(folderIdBytes.data(), folderIdBytes.size()), 0, 8);
    velmor::fuzz::MemoryDatabase database(input.rest());
    velmor::ProcessingContext& context = database.context;
    velmor::fuzz::RunIndexingParts(context);
    switch (scanner % kScannerCount) {
        case 0:
            RunScanner<velmor::CMailItem>(context, table, folderId, velmor::ScanMailItems);
            break;
        case 1:
            RunScanner<velmor::CContact>(context, table, folderId, velmor::ScanContacts);
            break;
        case 2:
            RunScanner<velmor::CCalendar>(context, table, folderId, velmor::ScanAppointments);
            break;
        case 3:
            RunScanner<velmor::CTask>(context, table, folderId, velmor::ScanTasks);
            break;
        case 4:
            RunScanner<velmor::CStickyNote>(context, table, folderId, velmor::ScanStickyNotes);
            break;
        default:
            RunScanner<velmor::CJournal>(context, table, folderId, velmor::ScanJournalEntries);
            break;
    }
    return 0;
}
