#include "search/html_text.h"

#include <cstdint>
#include <string_view>

namespace velmor {

namespace {

// Longest character reference decoded, "&#x10FFFF;" or a named one.
constexpr size_t kMaxReference = 10;

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

bool StartsWithNoCase(std::u16string_view text, size_t at, std::u16string_view prefix) {
    if (text.size() - at < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[at + i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// Finds the end of the element whose contents are not text (a script, a style sheet).
size_t SkipElement(std::u16string_view html, size_t at, std::u16string_view closing) {
    for (size_t i = at; i < html.size(); ++i) {
        if (html[i] == u'<' && StartsWithNoCase(html, i, closing)) {
            const size_t end = html.find(u'>', i);
            return end == std::u16string_view::npos ? html.size() : end + 1;
        }
    }
    return html.size();
}

void AppendCodePoint(std::u16string& out, uint32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        out += u' ';
    } else if (code >= 0x10000) {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code >> 10));
        out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
        out += static_cast<char16_t>(code);
    }
}

// Decodes the reference at html[at] ('&'); its length, 0 when it is none the index knows.
size_t DecodeReference(std::u16string_view html, size_t at, std::u16string& out) {
    const size_t end = html.find(u';', at);
    if (end == std::u16string_view::npos || end - at > kMaxReference) {
        return 0;
    }
    const std::u16string_view name = html.substr(at + 1, end - at - 1);
    struct Named {
        std::u16string_view name;
        char16_t character;
    };
    static constexpr Named kNamed[] = {{u"amp", u'&'},  {u"lt", u'<'},    {u"gt", u'>'},
                                       {u"quot", u'"'}, {u"apos", u'\''}, {u"nbsp", u' '}};
    for (const Named& named : kNamed) {
        if (name == named.name) {
            out += named.character;
            return end - at + 1;
        }
    }
    if (name.size() < 2 || name[0] != u'#') {
        return 0;
    }
    const bool hex = Lower(name[1]) == u'x';
    uint32_t code = 0;
    for (size_t i = hex ? 2 : 1; i < name.size(); ++i) {
        const char16_t c = Lower(name[i]);
        const bool digit = c >= u'0' && c <= u'9';
        const bool hexDigit = hex && c >= u'a' && c <= u'f';
        if (!digit && !hexDigit) {
            return 0;
        }
        code = code * (hex ? 16 : 10) + static_cast<uint32_t>(digit ? c - u'0' : c - u'a' + 10);
    }
    AppendCodePoint(out, code);
    return end - at + 1;
}

}  // namespace

std::u16string HtmlToText(const std::u16string& html) {
    const std::u16string_view view(html);
    std::u16string text;
    text.reserve(html.size());
    size_t i = 0;
    while (i < view.size()) {
        const char16_t c = view[i];
        if (c == u'<') {
            if (StartsWithNoCase(view, i, u"<!--")) {
                const size_t end = view.find(u"-->", i);
                i = end == std::u16string_view::npos ? view.size() : end + 3;
            } else if (StartsWithNoCase(view, i, u"<script")) {
                i = SkipElement(view, i + 1, u"</script");
            } else if (StartsWithNoCase(view, i, u"<style")) {
                i = SkipElement(view, i + 1, u"</style");
            } else {
                const size_t end = view.find(u'>', i);
                i = end == std::u16string_view::npos ? view.size() : end + 1;
            }
            text += u' ';
            continue;
        }
        if (c == u'&') {
            if (const size_t length = DecodeReference(view, i, text); length != 0) {
                i += length;
                continue;
            }
        }
        text += c;
        ++i;
    }
    return text;
}

}  // namespace velmor
