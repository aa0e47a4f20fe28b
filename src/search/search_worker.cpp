#include "search/search_worker.h"

#include <thread>

#include "search/search_listing.h"

namespace velmor {

void SearchWorker(ProcessingContext& context, const FolderTree& tree, ItemList& list,
                  BrowseJobState& state, SearchIndex& index, const SearchRequest& request,
                  const std::function<void(std::vector<SearchMatch>)>& found) {
    ProgressSink& sink = context.sink;
    context.stop.request();
    state.BrowseJobEvent.Wait();
    context.stop.clear();

    state.CurrentBrowseJob = std::this_thread::get_id();
    sink.HideItemStatus();
    ShowBusyButtons(sink);
    const bool ready =
        index.IsOpenFor(request.database, request.mailbox) ||
        index.Open(context, tree, request.database, request.mailbox, request.options);
    std::string error;
    std::vector<SearchMatch> matches =
        ready ? index.Find(request.query, request.limit, error) : std::vector<SearchMatch>{};
    ListSearchMatches(matches, list);
    if (!error.empty()) {
        sink.SetItemStatus(kUnreadableSearchStatus);
        sink.ShowItemStatus();
    }
    if (!ready) {
        list.ListingStopped();
    }

    found(std::move(matches));
    state.CurrentBrowseJob = std::thread::id{};
    context.stop.clear();
    ShowIdleButtons(sink);
    state.BrowseJobEvent.Set();
}

}  // namespace velmor
