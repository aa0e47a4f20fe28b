#include "items/mail_decoder.h"

#include "edb/stored_text_decoder.h"
#include "edb/stored_value.h"
#include "edb/tagged_directory.h"
#include "edb/text_contains.h"
#include "items/folder_record_walk.h"
#include "items/item_record_columns.h"
#include "items/length_prefixed_text.h"
#include "items/record_time.h"

namespace velmor {

namespace {

constexpr int kMaxMailRecordEntries = 40;
constexpr int64_t kValueEndLimit = 4090;

// Fixed tagged columns of a mail record.
constexpr uint16_t kBodyMarkerColumn = 256;  // its length 5 marks a record without a subject
constexpr uint16_t kSenderBlobColumn = 258;
constexpr uint16_t kSenderColumn = 264;
constexpr uint16_t kSubjectPrefixColumn = 281;
constexpr int64_t kNoSubjectMarkerLength = 5;

// Message-class texts and the kinds they give; the last one contained wins.
struct ClassKind {
    std::u16string_view text;
    int32_t kind;
};
constexpr ClassKind kClassKinds[] = {
    {u"IPM.Journal", kJournalItem}, {u"IPM.StickyNote", kStickyNoteItem},
    {u"IPM.Task", kTaskItem},       {u"IPM.Appointment", kAppointmentItem},
    {u"IPM.Contact", kContactItem},
};

// Notes what the value's bytes allow and keeps them when both readings do.
void NoteForms(std::span<const uint8_t> bytes, AllowedForms allowed, AllowedForms& forms,
               std::vector<uint8_t>& tie) {
    forms = allowed;
    tie.clear();
    if (forms == AllowedForms::Both) {
        tie.assign(bytes.begin(), bytes.end());
    }
}

void ApplyMessageClass(const std::u16string& text, CMailItem& mail) {
    for (const ClassKind& entry : kClassKinds) {
        if (Contains(text, entry.text)) {
            mail.itemKind = entry.kind;
        }
    }
}

}  // namespace

void DecodeMailRecord(const PageView& page, int64_t& position, CMailItem& mail,
                      const SchemaIds& schema) {
    ReadRecordTime(page, position, mail);
    const int64_t directory = position + kRecordStartToDirectory;
    position = directory;
    int64_t length256 = 0;
    uint16_t previousColumn = 0;
    for (int k = 0; k < kMaxMailRecordEntries; ++k) {
        const auto entry = ReadTaggedEntry(page, position, 0);
        if (!entry || entry->column == 0 || entry->column < previousColumn) {
            return;
        }
        const uint16_t col = entry->column;
        if (entry->offset != 0 && entry->nextOffset != 0) {
            const int64_t length = ReduceOffset(entry->nextOffset) - ReduceOffset(entry->offset);
            const int64_t s = directory + ReduceOffset(entry->offset) + 1;
            if (length < 1 || s + length > kValueEndLimit) {
                return;
            }
            // The sender, subject and recipient columns' values also tell what their bytes allow.
            const auto bytes = page.bytes(s, length - 1);
            const bool recipients = schema.is(MessageColumn::S65ec, col);
            const DecodedText decoded =
                col == kSenderColumn || col == kItemSubjectColumn || recipients
                    ? DecodeStoredTextNotingForms(bytes, std::nullopt)
                    : DecodeStoredText(bytes);
            const std::u16string& text = decoded.text;
            if (recipients) {
                mail.recipientText = text;
                NoteForms(bytes, decoded.allowed, mail.recipientForms, mail.tiedRecipients);
            }
            if (schema.is(MessageColumn::L3ff1, col) || schema.is(MessageColumn::L3fde, col)) {
                ApplyMessageClass(text, mail);
            }
            switch (col) {
                case kBodyMarkerColumn:
                    length256 = length;
                    break;
                case kSenderBlobColumn:
                    if (mail.senderName.empty()) {
                        std::vector<uint8_t> name = LengthPrefixedBytes(page, s, length - 1);
                        const DecodedText sender = LengthPrefixedText(name, std::nullopt);
                        NoteForms(name, sender.allowed, mail.senderForms, mail.tiedSender);
                        mail.senderLengthPrefixed = true;
                        mail.senderName = sender.text;
                    }
                    break;
                case kSenderColumn:
                    if (mail.senderName.empty()) {
                        mail.senderName = text;
                        NoteForms(bytes, decoded.allowed, mail.senderForms, mail.tiedSender);
                        mail.senderLengthPrefixed = false;
                    }
                    break;
                case kSubjectPrefixColumn:
                    if (mail.subjectPrefix.empty()) {
                        mail.subjectPrefix = text;
                    }
                    break;
                case kItemSubjectColumn:
                    if (length256 != kNoSubjectMarkerLength && mail.subject.empty()) {
                        mail.subject = text;
                        NoteForms(bytes, decoded.allowed, mail.subjectForms, mail.tiedSubject);
                    }
                    break;
                default:
                    break;
            }
        }
        previousColumn = col;
        position += kTaggedEntrySize;
    }
}

}  // namespace velmor
