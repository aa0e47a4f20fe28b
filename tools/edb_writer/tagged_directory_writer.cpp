#include "edb_writer/tagged_directory_writer.h"

#include <algorithm>
#include <stdexcept>

namespace velmor::testdb {

namespace {

// Only the low 12 bits of an offset count; the upper 4 carry flags.
constexpr int64_t kOffsetLimit = 4096;
constexpr int kFlagShift = 12;

uint16_t RawOffset(int64_t offset, uint8_t flags) {
    if (offset >= kOffsetLimit) {
        throw std::length_error("tagged data reaches past 4095 bytes from its directory");
    }
    return static_cast<uint16_t>(offset | (flags << kFlagShift));
}

}  // namespace

std::vector<uint8_t> EncodeTaggedDirectory(std::span<const TaggedValue> values,
                                           const DirectoryLayout& layout) {
    ByteWriter writer;
    AppendTaggedDirectory(writer, values, layout);
    return writer.Take();
}

void AppendTaggedDirectory(ByteWriter& writer, std::span<const TaggedValue> values,
                           const DirectoryLayout& layout) {
    std::vector<const TaggedValue*> order;
    order.reserve(values.size());
    for (const TaggedValue& value : values) {
        order.push_back(&value);
    }
    if (layout.sortColumns) {
        // Stable without the buffer std::stable_sort allocates: equal columns keep their order
        // through their addresses in the value array.
        std::sort(order.begin(), order.end(), [](const TaggedValue* a, const TaggedValue* b) {
            return a->column < b->column || (a->column == b->column && a < b);
        });
    }
    const auto entryCount = static_cast<int64_t>(order.size() + (layout.terminator ? 1 : 0));
    const int64_t dataStart = std::max(layout.dataStart, entryCount * kTaggedEntrySize);

    const size_t directory = writer.size();
    int64_t offset = dataStart;
    for (const TaggedValue* value : order) {
        writer.U16(value->column);
        writer.U16(RawOffset(offset, value->offsetFlags));
        offset += 1 + static_cast<int64_t>(value->data.size());
    }
    if (layout.terminator) {
        writer.U16(0);
        writer.U16(RawOffset(offset, layout.terminatorFlags));
    }
    writer.PadTo(directory + static_cast<size_t>(dataStart));
    for (const TaggedValue* value : order) {
        writer.U8(value->header);
        writer.Bytes(value->data);
    }
}

}  // namespace velmor::testdb
