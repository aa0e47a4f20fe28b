#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "discovery/processing_context.h"
#include "edb/stored_text_decoder.h"

namespace velmor {

// The content of one mail as its message record stores it: the plain-text body, the HTML
// body and the RTF body, each when present, with what could not be read.
struct MailBody {
    std::optional<std::u16string> text;  // "S1000", or the text that the RTF holds
    std::optional<std::u16string> html;  // "N1013" / "S1013", or HTML wrapped in the RTF
    std::optional<std::string> rtf;      // "N1009", decompressed
    uint64_t missingBytes = 0;           // bytes of long values that no page holds
    std::u16string note;                 // empty, or why the body is missing or partial

    bool empty() const { return !text && !html && !rtf; }
    // HTML when there is some, else the text.
    bool showsHtml() const { return html.has_value(); }
    const std::u16string& best() const;
};

// The body of the message record whose tagged directory lies at recordPosition. Body text both
// readings allow takes tieForm (see FolderTieForm), or without it the store's form.
MailBody ReadMailBody(ProcessingContext& context, int64_t recordPosition,
                      std::optional<StoredTextForm> tieForm);

// The body of the first message record of the item id, in index order, that has one.
MailBody ReadMailBodyOfItem(ProcessingContext& context, const std::u16string& itemId,
                            std::optional<StoredTextForm> tieForm);

}  // namespace velmor
