#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmor {

struct HeaderAddress {
    std::u16string name;  // decoded; empty when the header gives none
    std::u16string address;
};

// What a received mail's Internet headers say of its addressing, as a MIME parser reads them.
struct InternetHeaders {
    std::vector<HeaderAddress> from;
    std::vector<HeaderAddress> to;
    std::vector<HeaderAddress> cc;
    std::vector<HeaderAddress> replyTo;
    std::optional<std::u16string> messageId;  // "<id>"
    std::optional<std::u16string> inReplyTo;
    std::optional<std::u16string> references;
};

// The headers of the text, read up to its first empty line; what it lacks stays empty.
InternetHeaders ParseInternetHeaders(const std::u16string& text);

}  // namespace velmor
