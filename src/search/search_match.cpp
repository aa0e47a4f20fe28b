#include "search/search_match.h"

#include <charconv>

#include "edb/text_codec.h"

namespace velmor {

namespace {

// Each field is its byte length, a colon and its UTF-8 bytes, so that any text fits.
void Put(std::string& data, const std::string& field) {
    data += std::to_string(field.size()) + ':' + field;
}

std::string Take(const std::string& data, size_t& at) {
    size_t length = 0;
    const char* begin = data.data() + at;
    const char* end = data.data() + data.size();
    const auto [colon, error] = std::from_chars(begin, end, length);
    if (error != std::errc{} || colon == end || *colon != ':' ||
        length > static_cast<size_t>(end - colon - 1)) {
        at = data.size();
        return {};
    }
    at = static_cast<size_t>(colon - data.data()) + 1 + length;
    return std::string(colon + 1, length);
}

}  // namespace

std::string EncodeSearchMatch(const SearchMatch& match) {
    std::string data;
    Put(data, Utf16ToUtf8(match.folderPath));
    Put(data, std::to_string(match.rowNumber));
    Put(data, Utf16ToUtf8(match.kind));
    Put(data, Utf16ToUtf8(match.sender));
    Put(data, Utf16ToUtf8(match.subject));
    Put(data, Utf16ToUtf8(match.dateText));
    Put(data, Utf16ToUtf8(match.itemId));
    return data;
}

SearchMatch DecodeSearchMatch(const std::string& data) {
    SearchMatch match;
    size_t at = 0;
    match.folderPath = Utf8ToUtf16(Take(data, at));
    const std::string row = Take(data, at);
    std::from_chars(row.data(), row.data() + row.size(), match.rowNumber);
    match.kind = Utf8ToUtf16(Take(data, at));
    match.sender = Utf8ToUtf16(Take(data, at));
    match.subject = Utf8ToUtf16(Take(data, at));
    match.dateText = Utf8ToUtf16(Take(data, at));
    match.itemId = Utf8ToUtf16(Take(data, at));
    return match;
}

}  // namespace velmor
