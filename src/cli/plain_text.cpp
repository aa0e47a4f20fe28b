#include "cli/plain_text.h"

#include "edb/text_codec.h"

namespace velmor::cli {

namespace {

constexpr char16_t kLastC0Control = 0x1F;
constexpr char16_t kDelete = 0x7F;
constexpr char16_t kEllipsis[] = u"\u2026";

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// text cut after its first maxCharacters characters (a surrogate pair is one), with "…".
std::u16string Shortened(const std::u16string& text, size_t maxCharacters) {
    size_t end = 0;
    for (size_t characters = 0; end < text.size() && characters < maxCharacters; ++characters) {
        end += IsHighSurrogate(text[end]) && end + 1 < text.size() ? 2 : 1;
    }
    return end == text.size() ? text : text.substr(0, end) + kEllipsis;
}

}  // namespace

std::string PlainText(const std::u16string& text) {
    std::u16string printable = Shortened(text, kMaxPlainTextCharacters);
    for (char16_t& c : printable) {
        if (c <= kLastC0Control || c == kDelete) {
            c = u' ';
        }
    }
    return Utf16ToUtf8(printable);
}

std::string TabSeparated(const std::vector<std::u16string>& texts) {
    std::string line;
    for (size_t i = 0; i < texts.size(); ++i) {
        line += (i == 0 ? "" : "\t") + PlainText(texts[i]);
    }
    return line + "\n";
}

}  // namespace velmor::cli
