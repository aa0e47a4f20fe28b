#include "streaming/original_headers.h"

#include <algorithm>

#include "edb/text_codec.h"

namespace velmor {

namespace {

// A header block longer than this is taken as no header block at all.
constexpr size_t kLongestHeaderBlock = 1024 * 1024;

// The header fields up to the empty line that ends them, without it; empty without one.
std::string_view HeaderBlock(std::string_view message) {
    const std::string_view head = message.substr(0, kLongestHeaderBlock);
    const size_t crlf = head.find("\r\n\r\n");
    const size_t lf = head.find("\n\n");
    const size_t end = std::min(crlf == std::string_view::npos ? crlf : crlf + 2,
                                lf == std::string_view::npos ? lf : lf + 1);
    return end == std::string_view::npos ? std::string_view() : head.substr(0, end);
}

}  // namespace

void UseOriginalHeaders(MessageDetails& details, std::string_view original) {
    if (details.internetHeaders && !details.internetHeaders->empty()) {
        return;
    }
    const std::string_view block = HeaderBlock(original);
    if (!block.empty()) {
        ApplyInternetHeaders(details, Utf8ToUtf16(block));
    }
}

}  // namespace velmor
