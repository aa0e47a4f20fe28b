#include "cli/json_writer.h"

#include <cstdio>

#include "edb/text_codec.h"

namespace velmor::cli {

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

std::string JsonString(std::u16string_view text) {
    return JsonString(Utf16ToUtf8(text));
}

std::string JsonArray(const std::vector<std::u16string>& texts) {
    std::string array = "[";
    for (size_t i = 0; i < texts.size(); ++i) {
        array += (i == 0 ? "" : ", ") + JsonString(texts[i]);
    }
    return array + "]";
}

}  // namespace velmor::cli
