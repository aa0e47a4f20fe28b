#pragma once

#include <optional>
#include <string>

namespace velmor::ui {

// One round of TrimPathBox: the path box text without a trailing tab, or else without a
// leading blank or tab; nothing when the text stays as it is. The box writes the shorter text
// back, which is a change again, so leading blanks and tabs and trailing tabs all go while
// trailing blanks stay.
std::optional<std::u16string> TrimPathBoxOnce(const std::u16string& text);

}  // namespace velmor::ui
