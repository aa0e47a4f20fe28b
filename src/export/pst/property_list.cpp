#include "export/pst/property_list.h"

namespace velmor::pst {

size_t FixedSize(uint16_t type) {
    switch (type) {
        case kTypeInt16:
            return 2;
        case kTypeInt32:
            return 4;
        case kTypeBoolean:
            return 1;
        case kTypeInt64:
        case kTypeTime:
            return 8;
        default:
            return 0;
    }
}

void PropertyList::SetInt32(uint16_t id, uint32_t value) {
    Bytes bytes;
    Put32(bytes, value);
    values_[id] = {kTypeInt32, std::move(bytes)};
}

void PropertyList::SetBoolean(uint16_t id, bool value) {
    values_[id] = {kTypeBoolean, Bytes{static_cast<uint8_t>(value ? 1 : 0)}};
}

void PropertyList::SetTime(uint16_t id, uint64_t fileTime) {
    Bytes bytes;
    Put64(bytes, fileTime);
    values_[id] = {kTypeTime, std::move(bytes)};
}

void PropertyList::SetString(uint16_t id, const std::u16string& text) {
    values_[id] = {kTypeString, Utf16Bytes(text)};
}

void PropertyList::SetBinary(uint16_t id, Bytes bytes) {
    values_[id] = {kTypeBinary, std::move(bytes)};
}

const PropertyValue* PropertyList::Find(uint32_t tag) const {
    const auto found = values_.find(TagId(tag));
    return found != values_.end() && found->second.type == TagType(tag) ? &found->second : nullptr;
}

}  // namespace velmor::pst
