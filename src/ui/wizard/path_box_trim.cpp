#include "wizard/path_box_trim.h"

namespace velmor::ui {

std::optional<std::u16string> TrimPathBoxOnce(const std::u16string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const bool leadingBlank = text.front() == u' ' || text.front() == u'\t';
    const bool trailingTab = text.back() == u'\t';
    if (trailingTab) {
        return text.substr(0, text.size() - 1);
    }
    if (leadingBlank) {
        return text.substr(1);
    }
    return std::nullopt;
}

}  // namespace velmor::ui
