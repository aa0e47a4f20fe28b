#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "export/pst/pst_bytes.h"

namespace velmor::pst {

// Property types as the file stores them.
enum PropertyType : uint16_t {
    kTypeInt16 = 0x0002,
    kTypeInt32 = 0x0003,
    kTypeBoolean = 0x000B,
    kTypeInt64 = 0x0014,
    kTypeString = 0x001F,
    kTypeTime = 0x0040,
    kTypeBinary = 0x0102,
    kTypeMultiInt32 = 0x1003,
};

constexpr uint32_t PropertyTag(uint16_t id, uint16_t type) {
    return (static_cast<uint32_t>(id) << 16) | type;
}
constexpr uint16_t TagId(uint32_t tag) {
    return static_cast<uint16_t>(tag >> 16);
}
constexpr uint16_t TagType(uint32_t tag) {
    return static_cast<uint16_t>(tag);
}

// The size of a fixed-size type's value; 0 for a type of variable size.
size_t FixedSize(uint16_t type);

struct PropertyValue {
    uint16_t type = 0;
    Bytes bytes;  // little-endian value, or the variable-size data
};

// The properties of one object, by property id.
class PropertyList {
public:
    void SetInt32(uint16_t id, uint32_t value);
    void SetBoolean(uint16_t id, bool value);
    void SetTime(uint16_t id, uint64_t fileTime);
    void SetString(uint16_t id, const std::u16string& text);
    void SetBinary(uint16_t id, Bytes bytes);

    const PropertyValue* Find(uint32_t tag) const;
    const std::map<uint16_t, PropertyValue>& values() const { return values_; }

private:
    std::map<uint16_t, PropertyValue> values_;
};

}  // namespace velmor::pst
