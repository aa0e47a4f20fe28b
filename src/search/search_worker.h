#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "browse/browse_job_state.h"
#include "browse/folder_tree.h"
#include "browse/item_list.h"
#include "discovery/processing_context.h"
#include "search/search_index.h"

namespace velmor {

// The item status after a query the parser cannot read, in place of an empty list alone.
inline constexpr char16_t kUnreadableSearchStatus[] = u"This search cannot be read.";
// The item status when the cache was refused and the index built in memory.
inline constexpr char16_t kCacheNotPrivateStatus[] =
    u"The search cache is not private: this index is kept in memory only.";

// What a search box asks for: the query and where the mailbox's index comes from.
struct SearchRequest {
    std::string query;  // UTF-8
    std::filesystem::path database;
    std::u16string mailbox;  // the tree's root label
    SearchIndexOptions options;
    // The streaming file's entry's messages when the entry is searched, not a mailbox.
    RecoveredMessages* streamingEntry = nullptr;
    size_t limit = 0;  // 0: every match
};

// A search as a browse job: waits for the job before it as a browse job does, opens or
// builds the index unless it is open already (the item progress bar counts folders; Stop
// ends the build), then lists the matches in the item list, or notes that none match. A stop
// lists nothing and marks the listing stopped. A query that cannot be read lists nothing and
// shows kUnreadableSearchStatus until the next job. found gets the matches listed before the
// buttons show the job's end.
void SearchWorker(ProcessingContext& context, const FolderTree& tree, ItemList& list,
                  BrowseJobState& state, SearchIndex& index, const SearchRequest& request,
                  const std::function<void(std::vector<SearchMatch>)>& found);

}  // namespace velmor
