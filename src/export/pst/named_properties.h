#pragma once

#include <array>
#include <cstdint>

#include "export/pst/property_list.h"

namespace velmor::pst {

// The named properties the file's items use; each gets the property id
// kFirstNamedPropertyId + its position in this list.
enum class Named : uint16_t {
    kItemId,  // the item's id in the recovered store, in the program's own property set
    kEmail1Address,
    kEmail1DisplayName,
    kWorkAddress,
    kFileUnder,
    kLocation,
    kAppointmentStart,
    kAppointmentEnd,
    kLogType,
    kLogStart,
    kLogEnd,
};
inline constexpr size_t kNamedPropertyCount = 11;
inline constexpr uint16_t kFirstNamedPropertyId = 0x8000;

constexpr uint16_t NamedId(Named named) {
    return static_cast<uint16_t>(kFirstNamedPropertyId + static_cast<uint16_t>(named));
}

// The properties of the name-to-id map node that names the list above.
PropertyList NameToIdMapProperties();

}  // namespace velmor::pst
