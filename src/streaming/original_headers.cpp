#include "streaming/original_headers.h"

#include "edb/text_codec.h"
#include "streaming/mime_summary.h"

namespace velmor {

void UseOriginalHeaders(MessageDetails& details, std::string_view original) {
    if (details.internetHeaders && !details.internetHeaders->empty()) {
        return;
    }
    // A block cut at the bound would lose the fields after it; such headers are left unread.
    std::string_view block = HeaderBlockOf(original);
    if (block.ends_with("\r\n\r\n")) {
        block.remove_suffix(2);
    } else if (block.ends_with("\n\n")) {
        block.remove_suffix(1);
    }
    if (!block.empty() && block.size() <= kMaxHeaderBlockBytes) {
        ApplyInternetHeaders(details, Utf8ToUtf16(block));
    }
}

}  // namespace velmor
