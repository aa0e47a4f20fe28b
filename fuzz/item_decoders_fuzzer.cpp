// The page decoders of the item scanners, started at every record that a folder walk would
// visit on the page and at one position the input chooses.
#include "discovery/schema_ids.h"
#include "fuzz_input.h"
#include "items/folder_record_walk.h"
#include "items/kind_decoders.h"
#include "items/mail_decoder.h"

namespace {

constexpr uint8_t kDecoderCount = 5;

void Decode(uint8_t decoder, const velmor::PageView& page, int64_t position,
            const velmor::SchemaIds& schema) {
    velmor::StopFlag stop;
    switch (decoder % kDecoderCount) {
        case 0: {
            velmor::CMailItem mail;
            velmor::DecodeMailRecord(page, position, mail, schema);
            break;
        }
        case 1: {
            velmor::CCalendar appointment;
            velmor::DecodeAppointment(page, position, appointment, stop);
            break;
        }
        case 2: {
            velmor::CTask task;
            velmor::DecodeTask(page, position, task, stop);
            break;
        }
        case 3: {
            velmor::CStickyNote note;
            velmor::DecodeStickyNote(page, position, note, stop);
            break;
        }
        default: {
            velmor::CJournal entry;
            velmor::DecodeJournalEntry(page, position, entry, stop);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmor::fuzz::FuzzInput input(data, size);
    const auto decoder = input.Take<uint8_t>();
    const auto chosenPosition = input.Take<int16_t>();
    velmor::SchemaIds schema;
    for (int32_t& column : schema.messageColumns) {
        column = input.Take<uint16_t>();
    }
    const velmor::PageView page(input.rest());
    for (int64_t p = 0; p < page.size(); ++p) {
        if (velmor::ItemMarker(page, p)) {
            Decode(decoder, page, p + velmor::kItemRecordStart, schema);
        }
    }
    Decode(decoder, page, chosenPosition, schema);
    return 0;
}
