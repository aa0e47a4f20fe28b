#include "cli/plain_text.h"

#include "edb/text_codec.h"

namespace velmor::cli {

namespace {

constexpr char16_t kLastC0Control = 0x1F;
constexpr char16_t kDelete = 0x7F;

}  // namespace

std::string PlainText(const std::u16string& text) {
    std::u16string printable = text;
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
