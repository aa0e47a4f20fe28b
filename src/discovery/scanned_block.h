#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "edb/page_view.h"
#include "items/message_index.h"

namespace velmor {

// A page of a scanned block that carries an object id of 1 or more.
struct ScannedPage {
    int32_t objectId = 0;
    int32_t pageNumber = 0;
    // The page's message records in ScannedBlock::records; none when not looked for.
    uint32_t recordsBegin = 0;
    uint32_t recordsEnd = 0;
    bool whole = false;  // false: the page was cut short and has no records
};

// What the full-file pass takes from one block of chunks, found on any thread and merged in
// file order.
struct ScannedBlock {
    std::vector<int64_t> counts;   // for each chunk, what ReadChunk gives; ends after a 0
    std::vector<size_t> pagesEnd;  // the pages of chunk c end at pagesEnd[c]
    std::vector<ScannedPage> pages;
    std::vector<MessageIndexEntry> records;
    // The header page's bound of genuine object ids, when this block begins the file and its
    // first page's object id field was read.
    std::optional<int32_t> headerBound;
};

// Which pages' message records a scan looks for: none, those of every object (onlyObject
// 0) or those of onlyObject alone.
struct RecordsWanted {
    bool any = false;
    int32_t onlyObject = 0;

    bool of(int32_t objectId) const { return any && (onlyObject == 0 || objectId == onlyObject); }
};

// Scans the chunks read into bytes, chunk firstChunk of the file first, whose counts are
// already in block.counts.
void ScanBlock(const uint8_t* bytes, int64_t firstChunk, RecordsWanted wanted, ScannedBlock& block);

}  // namespace velmor
