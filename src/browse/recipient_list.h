#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "edb/page_view.h"

namespace velmor {

// The names of a recipient list value of len bytes at block position pos, in stored order.
// Each address entry starts with the 16-bit value 0x04E4; its name is 8-bit or UTF-16LE text
// ending at a zero or, at the latest, at the end of the value's bytes.
std::vector<std::u16string> DecodeRecipientNames(const PageView& block, int64_t pos, int64_t len);

// The item list joins recipient names by "," without blanks.
inline constexpr std::u16string_view kListedRecipientSeparator = u",";

// Recipient names joined by the separator.
std::u16string JoinRecipientNames(const std::vector<std::u16string>& names,
                                  std::u16string_view separator = kListedRecipientSeparator);

}  // namespace velmor
