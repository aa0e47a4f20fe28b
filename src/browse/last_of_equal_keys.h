#pragma once

#include <string_view>
#include <unordered_set>
#include <vector>

namespace velmor {

// Which items of a chain are listed: of items with equal keys only the last one. One pass
// from the end answers "does a later item have the same key" for every item.
template <typename Items, typename KeyOf>
std::vector<bool> LastOfEqualKeys(const Items& items, KeyOf keyOf) {
    std::vector<bool> listed(items.size());
    std::unordered_set<std::u16string_view> later;
    for (size_t i = items.size(); i-- > 0;) {
        listed[i] = later.insert(keyOf(items[i])).second;
    }
    return listed;
}

}  // namespace velmor
