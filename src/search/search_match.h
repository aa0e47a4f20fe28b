#pragma once

#include <string>

namespace velmor {

// One item found: where it is listed and what its row shows. Texts are UTF-16.
struct SearchMatch {
    std::u16string folderPath;  // the folder's tree path
    int rowNumber = 0;          // 1-based row of the folder's listing
    std::u16string kind;        // mail, contact, appointment, task, note, journal
    std::u16string sender;
    std::u16string subject;
    std::u16string dateText;
    std::u16string itemId;
    int relevance = 0;  // percent
};

// The match as the index document keeps it, and back; a damaged record gives empty fields.
std::string EncodeSearchMatch(const SearchMatch& match);
SearchMatch DecodeSearchMatch(const std::string& data);

}  // namespace velmor
