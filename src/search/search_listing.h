#pragma once

#include <string>
#include <vector>

#include "browse/item_list.h"
#include "search/search_match.h"

namespace velmor {

inline constexpr char16_t kFolderHeading[] = u"Folder";

// Lists matches in the item list as a folder's mails are listed, with a Folder column added:
// each row's number is its row in that folder, and its item id opens the message.
void ListSearchMatches(const std::vector<SearchMatch>& matches, ItemList& list);
// Adds matches below the rows listed, the first of them at row firstRow.
void AppendSearchMatches(const std::vector<SearchMatch>& matches, ItemList& list, int firstRow);

// The caption of a search's empty list: No items match "query", a long query cut short.
std::u16string NoMatchesNote(const std::string& query);

}  // namespace velmor
