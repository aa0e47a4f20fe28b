#pragma once

#include <cstdint>

namespace velmor {

// The bytes above the blank among count at data: the characters of base64 text, which holds
// no others but line breaks and blanks.
int64_t CountBase64Characters(const char* data, int64_t count);

}  // namespace velmor
