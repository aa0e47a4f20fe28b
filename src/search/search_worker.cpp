#include "search/search_worker.h"

#include <algorithm>
#include <iterator>
#include <thread>

#include "search/search_listing.h"

namespace velmor {

namespace {

// Matches found and listed before the others.
constexpr size_t kMatchesListedFirst = 100;

}  // namespace

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
    const bool opened = index.IsOpenFor(request.database, request.mailbox);
    const bool ready = opened || (request.streamingEntry != nullptr
                                      ? index.OpenStreamingEntry(context, *request.streamingEntry,
                                                                 request.database, request.options)
                                      : index.Open(context, tree, request.database, request.mailbox,
                                                   request.options));
    // The best matches show at once; finding and listing all of a common word's takes longer.
    std::string error;
    const size_t first =
        request.limit == 0 ? kMatchesListedFirst : std::min(request.limit, kMatchesListedFirst);
    std::vector<SearchMatch> matches =
        ready ? index.Find(request.query, first, error) : std::vector<SearchMatch>{};
    ListSearchMatches(matches, list);
    if (matches.size() == first && first != request.limit && !context.stop.isSet()) {
        const size_t rest = request.limit == 0 ? 0 : request.limit - first;
        std::vector<SearchMatch> more = index.Find(request.query, rest, error, first);
        AppendSearchMatches(more, list, static_cast<int>(matches.size()));
        matches.insert(matches.end(), std::make_move_iterator(more.begin()),
                       std::make_move_iterator(more.end()));
    }
    if (!error.empty()) {
        sink.SetItemStatus(kUnreadableSearchStatus);
        sink.ShowItemStatus();
    } else if (ready && !opened && !index.warning().empty()) {
        sink.SetItemStatus(kCacheNotPrivateStatus);
        sink.ShowItemStatus();
    }
    if (ready && error.empty() && matches.empty()) {
        list.ListingNote(NoMatchesNote(request.query));
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
