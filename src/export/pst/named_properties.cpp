#include "export/pst/named_properties.h"

#include <map>
#include <string>

#include "export/pst/property_ids.h"
#include "export/pst/pst_crc.h"

namespace velmor::pst {

namespace {

using Guid = std::array<uint8_t, 16>;

// Property sets, as their GUIDs are stored (the first three fields little-endian).
constexpr Guid kAddressSet = {0x04, 0x20, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00,
                              0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr Guid kAppointmentSet = {0x02, 0x20, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr Guid kLogSet = {0x0A, 0x20, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00,
                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
// The program's own set: {5D8E1F3A-7B2C-4E61-9A04-C3B7E2D19F58}.
constexpr Guid kVelmorSet = {0x3A, 0x1F, 0x8E, 0x5D, 0x2C, 0x7B, 0x61, 0x4E,
                             0x9A, 0x04, 0xC3, 0xB7, 0xE2, 0xD1, 0x9F, 0x58};

// Set indexes 1 and 2 are the two built-in sets; the GUID stream's sets follow from 3.
constexpr uint16_t kFirstStreamSet = 3;
constexpr uint32_t kBucketCount = 251;
constexpr size_t kStringAlignment = 4;

struct NamedDefinition {
    const Guid* set;
    uint32_t lid;          // the numeric name, when name is empty
    const char16_t* name;  // the string name, or empty
};

// In the order of Named.
constexpr std::array<NamedDefinition, kNamedPropertyCount> kDefinitions = {{
    {&kVelmorSet, 0, u"ItemId"},
    {&kAddressSet, 0x8083, u""},
    {&kAddressSet, 0x8080, u""},
    {&kAddressSet, 0x801B, u""},
    {&kAddressSet, 0x8005, u""},
    {&kAppointmentSet, 0x8208, u""},
    {&kAppointmentSet, 0x820D, u""},
    {&kAppointmentSet, 0x820E, u""},
    {&kLogSet, 0x8700, u""},
    {&kLogSet, 0x8706, u""},
    {&kLogSet, 0x8708, u""},
}};

void PutEntry(Bytes& bytes, uint32_t key, uint16_t setField, uint16_t index) {
    Put32(bytes, key);
    Put16(bytes, setField);
    Put16(bytes, index);
}

}  // namespace

// The map: the stream of set GUIDs, the stream of entries (numeric name or offset of the
// string name, set index with the string flag, property index), the stream of string names
// (length, then UTF-16), and hash buckets of the entries for lookups by name.
PropertyList NameToIdMapProperties() {
    std::vector<const Guid*> sets;
    Bytes guidStream;
    Bytes entryStream;
    Bytes stringStream;
    std::map<uint32_t, Bytes> buckets;
    for (uint16_t index = 0; index < kDefinitions.size(); ++index) {
        const NamedDefinition& definition = kDefinitions[index];
        size_t set = 0;
        while (set < sets.size() && sets[set] != definition.set) {
            ++set;
        }
        if (set == sets.size()) {
            sets.push_back(definition.set);
            guidStream.insert(guidStream.end(), definition.set->begin(), definition.set->end());
        }
        const bool isString = definition.name[0] != u'\0';
        const uint16_t setField =
            static_cast<uint16_t>(((kFirstStreamSet + set) << 1) | (isString ? 1 : 0));
        uint32_t key = definition.lid;
        uint32_t hashKey = definition.lid;
        if (isString) {
            const Bytes name = Utf16Bytes(definition.name);
            key = static_cast<uint32_t>(stringStream.size());
            hashKey = Crc(name.data(), name.size());
            Put32(stringStream, static_cast<uint32_t>(name.size()));
            PutBytes(stringStream, name);
            stringStream.resize(
                (stringStream.size() + kStringAlignment - 1) / kStringAlignment * kStringAlignment,
                0);
        }
        PutEntry(entryStream, key, setField, index);
        PutEntry(buckets[(hashKey ^ setField) % kBucketCount], hashKey, setField, index);
    }
    PropertyList map;
    map.SetInt32(prop::kNameIdBucketCount, kBucketCount);
    map.SetBinary(prop::kNameIdStreamGuid, guidStream);
    map.SetBinary(prop::kNameIdStreamEntry, entryStream);
    map.SetBinary(prop::kNameIdStreamString, stringStream);
    for (auto& [bucket, entries] : buckets) {
        map.SetBinary(static_cast<uint16_t>(prop::kNameIdFirstBucket + bucket), entries);
    }
    return map;
}

}  // namespace velmor::pst
