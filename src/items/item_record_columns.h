#pragma once

#include <cstdint>

namespace velmor {

// The tagged column that holds an item record's subject (a mail's, a contact's name, ...).
inline constexpr uint16_t kItemSubjectColumn = 282;

}  // namespace velmor
