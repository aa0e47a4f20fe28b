#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "browse/listed_item.h"

namespace velmor {

// What the index holds of one listed item: the texts its prefixes search and what a match
// shows. Texts are UTF-16 as the engine keeps them.
struct SearchFields {
    std::u16string kind;  // mail, contact, appointment, task, note, journal
    std::u16string folderPath;
    int rowNumber = 0;  // 1-based, as the folder's listing numbers it
    std::u16string itemId;
    std::u16string sender;         // as the listing shows it
    std::u16string senderAddress;  // the sender's name and address as the details give them
    std::vector<std::u16string> to;
    std::vector<std::u16string> cc;
    std::vector<std::u16string> bcc;
    std::u16string subject;
    std::optional<uint64_t> fileTime;  // the stored FILETIME when it converts to a date
    std::u16string dateText;           // as the listing shows it
    std::u16string body;
    std::vector<std::u16string> attachmentNames;
    // The store says the item has attachments, whether or not their names are known.
    bool hasAttachments = false;
};

// Collects the fields of a row that a lister inserted in the folder with this path. The body
// is read separately, from the message records.
SearchFields CollectSearchFields(const std::u16string& folderPath, int row,
                                 const ListedItem& listed);

}  // namespace velmor
