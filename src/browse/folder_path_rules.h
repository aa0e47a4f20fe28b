#pragma once

#include <string>
#include <string_view>

#include "edb/text_contains.h"

namespace velmor {

// Folder names that change how a folder is listed, tested with "contains" on the tree path.
inline constexpr std::u16string_view kSentItemsName = u"Sent Items";
inline constexpr std::u16string_view kOutboxName = u"Outbox";
inline constexpr std::u16string_view kAdministratorFolderName = u"exchangeV1";
inline constexpr std::u16string_view kDraftsName = u"Drafts";

// Sent items and outbox mails show their recipients instead of their sender.
inline bool IsSentOrOutboxPath(const std::u16string& path) {
    return Contains(path, kSentItemsName) || Contains(path, kOutboxName);
}

}  // namespace velmor
