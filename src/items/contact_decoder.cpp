#include "items/contact_decoder.h"

#include <algorithm>

#include "edb/stored_value.h"
#include "edb/tagged_directory.h"
#include "items/folder_record_walk.h"
#include "items/record_block.h"

namespace velmor {

namespace {

constexpr int kMaxEntries = 80;
constexpr int64_t kValueEnd = PAGE_SIZE;
constexpr int64_t kLongestPhoneEntry = 29;  // header byte and at most 28 stored bytes

// The message column of each contact field, in the order in which they are tested.
struct ContactField {
    MessageColumn column;
    std::u16string CContact::*field;
    bool phone;
};
constexpr ContactField kContactFields[] = {
    {MessageColumn::S81c2, &CContact::fullName, false},
    {MessageColumn::S3a06, &CContact::firstName, false},
    {MessageColumn::S3a11, &CContact::lastName, false},
    {MessageColumn::S3a08, &CContact::businessPhone, true},
    {MessageColumn::S3a09, &CContact::homePhone, true},
    {MessageColumn::S3a24, &CContact::mobilePhone, true},
    {MessageColumn::S80a7, &CContact::businessAddress, false},
    {MessageColumn::S81b0, &CContact::emailAddress, false},
};

bool PlausiblePosition(const EdbFile& file, int64_t recordPosition) {
    return recordPosition > 0 && static_cast<uint64_t>(recordPosition) <= file.fileSize();
}

}  // namespace

void DecodeContact(ProcessingContext& context, int64_t& position, CContact& contact) {
    position += kRecordStartToDirectory;
    if (context.stop.requested()) {
        return;
    }
    const MessageIndexEntry* entry = context.store.messageIndex.FindFirst(contact.contactId);
    PageBuffer block{};
    if (entry == nullptr || !PlausiblePosition(context.file, entry->recordPosition) ||
        !ReadRecordBlock(context.file, entry->recordPosition, block)) {
        return;
    }
    if (context.stop.requested()) {
        return;
    }
    const PageView view(block);
    const SchemaIds& schema = context.store.schema;
    int walked = 0;
    for (int k = 0; k < kMaxEntries; ++k) {
        if (context.stop.requested()) {
            return;
        }
        const auto tagged = ReadTaggedEntry(view, 0, k);
        if (!tagged) {
            break;
        }
        if (tagged->offset != 0 && tagged->nextOffset != 0) {
            const int64_t length = ReduceOffset(tagged->nextOffset) - ReduceOffset(tagged->offset);
            const int64_t s = ReduceOffset(tagged->offset) + 1;
            if (length < 1 || length > kLongestValue || s > kLastValueStart ||
                s + length > kValueEnd) {
                break;
            }
            for (const ContactField& field : kContactFields) {
                std::u16string& text = contact.*field.field;
                if (schema.is(field.column, tagged->column) && text.empty()) {
                    const int64_t n = field.phone ? std::min(length, kLongestPhoneEntry) : length;
                    text = DecodeStoredString(view, s, n - 1);
                }
            }
        }
        ++walked;
    }
    position += kTaggedEntrySize * walked;
}

}  // namespace velmor
