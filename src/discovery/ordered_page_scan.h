#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "discovery/ordered_block_pass.h"
#include "discovery/processing_context.h"

namespace velmor {

// How a scan of a page list ended.
enum class PageScanEnd {
    Whole,       // every page scanned
    Unreadable,  // at a page that could not be read, after reporting it
    Stopped,     // a stop was asked
};

namespace ordered_page_scan {

// Pages per block: enough that a block outweighs handing it to a thread.
inline constexpr size_t kPagesPerBlock = 32;
// Blocks scanned ahead of the merge, per thread.
inline constexpr size_t kSlotsPerThread = 4;

// One block of pages, scanned: the entries of each page read.
template <typename Entry>
struct ScannedPages {
    std::vector<Entry> entries;
    std::vector<size_t> entriesEnd;  // per page read: the size of entries after it
    bool unreadable = false;         // the page after the last one read could not be read
};

}  // namespace ordered_page_scan

// Reads and scans the pages in blocks on every core; the calling thread appends their entries
// to found (a vector or a deque) in page order and reports each page to the window as position
// ++visited, as one thread going page by page would: a stop before a page's report, or right
// after it, leaves the page's entries out. scanPage(pageNumber, page, entries) appends a whole
// page's entries.
template <typename Found, typename ScanPage>
PageScanEnd ScanPagesInOrder(ProcessingContext& context, const std::vector<int32_t>& pages,
                             int& visited, const ScanPage& scanPage, Found& found) {
    using Entry = typename Found::value_type;
    using ordered_page_scan::kPagesPerBlock;
    const unsigned threads = context.threadCount();
    std::vector<ordered_page_scan::ScannedPages<Entry>> slots(threads *
                                                              ordered_page_scan::kSlotsPerThread);
    const auto pagesOf = [&](int64_t block) {
        const size_t first = static_cast<size_t>(block) * kPagesPerBlock;
        return std::pair(first, std::min(first + kPagesPerBlock, pages.size()));
    };
    if (pages.empty()) {
        return PageScanEnd::Whole;
    }
    PageScanEnd end = PageScanEnd::Stopped;
    RunOrderedBlockPass(
        threads, slots.size(),
        [&](int64_t block, size_t slot, unsigned) {
            auto& scanned = slots[slot];
            scanned.entries.clear();
            scanned.entriesEnd.clear();
            scanned.unreadable = false;
            PageBuffer page{};
            const auto [first, last] = pagesOf(block);
            for (size_t i = first; i < last && !context.stop.requested(); ++i) {
                if (!context.file.ReadPage(pages[i], page)) {
                    scanned.unreadable = true;
                    return false;
                }
                scanPage(pages[i], PageView(page), scanned.entries);
                scanned.entriesEnd.push_back(scanned.entries.size());
            }
            return last < pages.size();
        },
        [&](int64_t block, size_t slot) {
            auto& scanned = slots[slot];
            size_t begin = 0;
            for (size_t pageEnd : scanned.entriesEnd) {
                if (context.stop.requested()) {
                    return false;
                }
                context.sink.SetProgressPosition(++visited);
                if (context.stop.requested()) {
                    return false;
                }
                std::move(scanned.entries.begin() + static_cast<ptrdiff_t>(begin),
                          scanned.entries.begin() + static_cast<ptrdiff_t>(pageEnd),
                          std::back_inserter(found));
                begin = pageEnd;
            }
            if (scanned.unreadable) {
                if (!context.stop.requested()) {
                    context.sink.SetProgressPosition(++visited);
                    end = PageScanEnd::Unreadable;
                }
                return false;
            }
            const auto [first, last] = pagesOf(block);
            if (scanned.entriesEnd.size() < last - first) {
                return false;  // the scan was stopped
            }
            if (last == pages.size()) {
                end = PageScanEnd::Whole;
            }
            return true;
        });
    return end;
}

}  // namespace velmor
