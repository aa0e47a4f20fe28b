#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

namespace velmor {

// The pages that carry one object id, in file order.
struct ObjectPageGroup {
    int32_t objectId = 0;
    int32_t pageCount = 0;  // pages recorded; not lowered when the page list is released
    std::vector<int32_t> pages;

    // The page list is freed once a part has visited it; the group and its count stay.
    void ReleasePages() { std::vector<int32_t>().swap(pages); }
};

// Groups in the order in which their object ids were first met, with a hash index beside
// them so that attributing a page costs the same whatever the number of groups.
class PageGroupList {
public:
    void AddPage(int32_t objectId, int32_t pageNumber);
    // The group of an object id, or nullptr when no page carried it.
    ObjectPageGroup* Find(int32_t objectId);

    const std::deque<ObjectPageGroup>& groups() const { return groups_; }
    bool empty() const { return groups_.empty(); }
    void Clear();

private:
    std::deque<ObjectPageGroup> groups_;  // a deque keeps found groups in place while appending
    std::unordered_map<int32_t, size_t> indexById_;
    // Runs of pages of one object are common: their group is not looked up again.
    size_t lastGroup_ = 0;
};

}  // namespace velmor
