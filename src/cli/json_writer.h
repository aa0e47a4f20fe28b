#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmor::cli {

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view utf8);
std::string JsonString(std::u16string_view text);

// The texts as a JSON array of strings.
std::string JsonArray(const std::vector<std::u16string>& texts);

}  // namespace velmor::cli
