#pragma once

#include <string>
#include <string_view>

namespace velmor::cli {

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view utf8);
std::string JsonString(std::u16string_view text);

}  // namespace velmor::cli
