// The readers of a message record's block, reached through the message index: the contact
// decoder, ReadMailDetails (with its out-of-line recipient lookup) and ReadRecordColumnText.
// Besides the records the index scan finds, one index entry points where the input says, so
// that blocks cut by the file end are read too.
#include <deque>
#include <set>
#include <utility>

#include "browse/long_value_recipients.h"
#include "browse/mail_details.h"
#include "browse/record_column_text.h"
#include "fuzz_input.h"
#include "items/contact_decoder.h"
#include "memory_database.h"
#include "store_parts.h"

namespace {

constexpr size_t kMostIdsRead = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto sentOrOutbox = (input.Take<uint8_t>() & 1) != 0;
    const auto column = input.Take<uint16_t>();
    const auto chosenPosition = input.Take<uint32_t>();
    velmor::fuzz::MemoryDatabase database(input.rest());
    velmor::ProcessingContext& context = database.context;
    velmor::fuzz::RunIndexingParts(context);
    velmor::MessageIndexEntry chosen;
    chosen.itemIdValue = 0x0102030405060708;
    chosen.recordPosition = chosenPosition;
    std::deque<velmor::MessageIndexEntry> entries = context.store.messageIndex.entries();
    entries.push_back(chosen);
    context.store.messageIndex = velmor::MessageIndex(std::move(entries));

    std::set<std::u16string> ids;
    for (const velmor::MessageIndexEntry& entry : context.store.messageIndex.entries()) {
        if (ids.size() == kMostIdsRead) {
            break;
        }
        ids.insert(entry.itemId());
    }
    velmor::LongValueRecipients outOfLine(context);
    for (const std::u16string& id : ids) {
        velmor::CContact contact;
        contact.contactId = id;
        int64_t position = 0;
        velmor::DecodeContact(context, position, contact);
        velmor::ReadMailDetails(context, id, sentOrOutbox, outOfLine);
        velmor::ReadRecordColumnText(context, id, column);
    }
    return 0;
}
