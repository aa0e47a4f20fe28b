#include "browse/browse_job_state.h"

namespace velmor {

void BrowseJobState::Select(BrowseSelection selection) {
    std::lock_guard lock(mutex_);
    selection_ = std::move(selection);
}

BrowseSelection BrowseJobState::Selection() const {
    std::lock_guard lock(mutex_);
    return selection_;
}

}  // namespace velmor
