#pragma once

#include <string_view>

namespace velmor {

// The system's "contains" test: a case-sensitive substring test.
inline bool Contains(std::u16string_view text, std::u16string_view part) {
    return text.find(part) != std::u16string_view::npos;
}

}  // namespace velmor
