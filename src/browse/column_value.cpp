#include "browse/column_value.h"

#include "edb/long_value_reference.h"

namespace velmor {

namespace {

// An entry offset with this bit has a flag byte in front of its value.
constexpr uint16_t kFlagByteBit = 0x4000;

}  // namespace

ColumnValue ReadColumnValue(ProcessingContext& context, const PageView& block,
                            const BlockEntry& e) {
    ColumnValue result;
    const int64_t v = e.s + 1;
    const auto bytes = block.bytes(v, e.n - 1);
    const uint8_t flags = (e.rawOffset & kFlagByteBit) ? block.u8(e.s) : 0;
    // A column holds one value here; of a multi-valued one the first is taken.
    const std::vector<uint32_t> ids = LongValueIds(flags, bytes);
    if (!ids.empty()) {
        RecoveredStore& store = context.store;
        const auto value = store.longValues.Read(context.file, store.pageGroups,
                                                 store.schema.msgLongValueId, ids.front());
        if (!value) {
            result.lost = true;
            return result;
        }
        if (value->compressed) {
            result.compressed = true;
            return result;
        }
        result.bytes = value->bytes;
        result.present = true;
        result.gaps = value->gaps;
        result.missingBytes = value->missingBytes;
        result.capped = value->capped;
        return result;
    }
    if (flags & kValueFlagCompressed) {
        result.compressed = true;
        return result;
    }
    result.bytes.assign(bytes.begin(), bytes.end());
    result.present = true;
    return result;
}

}  // namespace velmor
