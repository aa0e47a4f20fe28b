#include "browse/mailbox_owner_label.h"

#include "browse/tree_item_path.h"

namespace velmor {

std::u16string MailboxOwnerLabel(const std::u16string& path) {
    const std::u16string rootLabel = path.substr(0, path.find(kPathSeparator));
    const size_t hyphen = rootLabel.find(u'-');
    return hyphen == std::u16string::npos ? rootLabel : rootLabel.substr(hyphen + 1);
}

}  // namespace velmor
