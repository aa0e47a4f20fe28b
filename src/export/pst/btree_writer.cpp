#include "export/pst/btree_writer.h"

#include <algorithm>

#include "export/pst/pst_layout.h"

namespace velmor::pst {

BTreeLeafWriter::BTreeLeafWriter(size_t entrySize, BTreePageWriter write)
    : entrySize_(entrySize), perPage_(kBTreeEntriesSize / entrySize), write_(std::move(write)) {}

bool BTreeLeafWriter::Add(uint64_t key, const Bytes& entry) {
    if (count_ == 0) {
        firstKey_ = key;
    }
    PutBytes(entries_, entry);
    return ++count_ < perPage_ || Finish();
}

bool BTreeLeafWriter::Finish() {
    if (count_ == 0) {
        return true;
    }
    const auto page = write_(entries_, count_, entrySize_, 0);
    if (!page) {
        return false;
    }
    pages_.push_back({firstKey_, *page});
    entries_.clear();
    count_ = 0;
    return true;
}

std::optional<PageReference> WriteBTreeIndex(std::vector<BTreeChild> pages,
                                             const BTreePageWriter& write) {
    const size_t perPage = kBTreeEntriesSize / kBTreeIndexEntrySize;
    for (uint8_t level = 1; pages.size() > 1; ++level) {
        std::vector<BTreeChild> upper;
        for (size_t first = 0; first < pages.size(); first += perPage) {
            const size_t end = std::min(pages.size(), first + perPage);
            Bytes entries;
            for (size_t i = first; i < end; ++i) {
                Put64(entries, pages[i].key);
                Put64(entries, pages[i].page.bid);
                Put64(entries, pages[i].page.offset);
            }
            const auto page = write(entries, end - first, kBTreeIndexEntrySize, level);
            if (!page) {
                return std::nullopt;
            }
            upper.push_back({pages[first].key, *page});
        }
        pages = std::move(upper);
    }
    return pages.empty() ? std::nullopt : std::optional<PageReference>(pages.front().page);
}

}  // namespace velmor::pst
