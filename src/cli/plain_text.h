#pragma once

#include <string>
#include <vector>

namespace velmor::cli {

// The most characters of one value plain output prints; a longer one (a subject of a hostile
// header line, say) is cut there and ends in "…".
inline constexpr size_t kMaxPlainTextCharacters = 4000;

// A value as plain output prints it: UTF-8 with each control character (U+0000 to U+001F and
// U+007F) as one blank, so that a name from a damaged page can neither end a line nor add a
// column, and at most kMaxPlainTextCharacters long. JSON output keeps the exact text.
std::string PlainText(const std::u16string& text);

// One line of plain output: the texts separated by tabs.
std::string TabSeparated(const std::vector<std::u16string>& texts);

}  // namespace velmor::cli
