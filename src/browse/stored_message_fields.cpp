#include "browse/stored_message_fields.h"

#include <array>

#include "browse/column_value.h"
#include "browse/message_records.h"
#include "browse/record_block_walk.h"
#include "edb/stored_text_decoder.h"

namespace velmor {

namespace {

// Entries walked per record block; a writer never puts more in a directory.
constexpr int kMaxStoredFieldEntries = 80;
constexpr int64_t kNumberSize = 4;

using TextField = std::optional<std::u16string> StoredMessageFields::*;
using NumberField = std::optional<uint32_t> StoredMessageFields::*;

struct TextColumn {
    MessageColumn column;
    TextField field;
};

struct NumberColumn {
    MessageColumn column;
    NumberField field;
};

constexpr std::array kTextColumns = {
    TextColumn{MessageColumn::S0c1f, &StoredMessageFields::senderAddress},
    TextColumn{MessageColumn::S0c1e, &StoredMessageFields::senderAddressType},
    TextColumn{MessageColumn::S0042, &StoredMessageFields::representingName},
    TextColumn{MessageColumn::S0065, &StoredMessageFields::representingAddress},
    TextColumn{MessageColumn::S0064, &StoredMessageFields::representingAddressType},
    TextColumn{MessageColumn::S0e04, &StoredMessageFields::displayTo},
    TextColumn{MessageColumn::S0e03, &StoredMessageFields::displayCc},
    TextColumn{MessageColumn::S0e02, &StoredMessageFields::displayBcc},
    TextColumn{MessageColumn::S007d, &StoredMessageFields::internetHeaders},
    TextColumn{MessageColumn::S1035, &StoredMessageFields::messageId},
    TextColumn{MessageColumn::S1042, &StoredMessageFields::inReplyTo},
    TextColumn{MessageColumn::S1039, &StoredMessageFields::references},
};

constexpr std::array kNumberColumns = {
    NumberColumn{MessageColumn::L0017, &StoredMessageFields::importance},
    NumberColumn{MessageColumn::L0036, &StoredMessageFields::sensitivity},
    NumberColumn{MessageColumn::L0e07, &StoredMessageFields::flags},
    NumberColumn{MessageColumn::L0e08, &StoredMessageFields::size},
};

// A text is taken only when read whole: a value with lost bytes would show a wrong address or
// header as if it were right.
std::optional<std::u16string> WholeText(const ColumnValue& value) {
    if (!value.present || value.missingBytes != 0 || value.capped) {
        return std::nullopt;
    }
    std::u16string text = DecodeStoredText(value.bytes).text;
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

// A 32-bit integer is stored as its four bytes, in line; any other size is damage.
std::optional<uint32_t> Number(const PageView& block, const BlockEntry& e) {
    if (e.n - 1 != kNumberSize) {
        return std::nullopt;
    }
    return block.u32(e.s + 1);
}

void ReadRecordFields(ProcessingContext& context, const PageView& block,
                      StoredMessageFields& fields) {
    const SchemaIds& schema = context.store.schema;
    WalkRecordBlock(block, kMaxStoredFieldEntries, context.stop, [&](const BlockEntry& e) {
        for (const TextColumn& text : kTextColumns) {
            if (schema.is(text.column, e.column) && !(fields.*text.field)) {
                fields.*text.field = WholeText(ReadColumnValue(context, block, e));
            }
        }
        for (const NumberColumn& number : kNumberColumns) {
            if (schema.is(number.column, e.column) && !(fields.*number.field)) {
                fields.*number.field = Number(block, e);
            }
        }
        return true;
    });
}

}  // namespace

StoredMessageFields ReadStoredMessageFields(ProcessingContext& context,
                                            const std::u16string& itemId) {
    StoredMessageFields fields;
    ForEachReadableMessageRecord(
        context, itemId, [&](const PageView& block) { ReadRecordFields(context, block, fields); });
    return fields;
}

}  // namespace velmor
