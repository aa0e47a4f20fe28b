#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmor {

// The names of the attachments of the mail with the item id, as another source than the
// store knows them (the mail's original in the streaming file); none when unknown.
using AttachmentNamesOf = std::function<std::vector<std::u16string>(const std::u16string&)>;

}  // namespace velmor
