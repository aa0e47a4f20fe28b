#pragma once

#include <cstdint>
#include <string>

#include "edb/page_view.h"

namespace velmor {

// The names of a recipient list value of len bytes at block position pos, joined by ",".
// Each address entry starts with the 16-bit value 0x04E4; its name is 8-bit or UTF-16LE text
// ending at a zero or, at the latest, at the end of the value's bytes.
std::u16string DecodeRecipientList(const PageView& block, int64_t pos, int64_t len);

}  // namespace velmor
