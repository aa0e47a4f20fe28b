#pragma once

#include <string>

namespace velmor {

// The owner of the mailbox of a tree path: the root label (the path up to its first
// backslash) after its first hyphen, blanks included, or the whole label without a hyphen.
std::u16string MailboxOwnerLabel(const std::u16string& path);

}  // namespace velmor
