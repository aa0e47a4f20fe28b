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

}  // namespace velmor::cli
