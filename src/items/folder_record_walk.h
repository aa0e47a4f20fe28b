#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "discovery/processing_context.h"

namespace velmor {

// Layout of an item record in a folder's message table, relative to the position M of its
// tagged directory (where the item marker matched).
inline constexpr int64_t kItemRecordStart = -52;  // R: the item time, a FILETIME
inline constexpr int64_t kItemFolderIdField = -32;
inline constexpr int64_t kItemIdField = -16;
inline constexpr int64_t kItemIdLength = 8;
inline constexpr int64_t kRecordStartToDirectory = 52;
// A contact's or another kind's stored text value: at most this long, starting at most this far
// into the page; longer or later it is another record's bytes.
inline constexpr int64_t kLongestValue = 4000;
inline constexpr int64_t kLastValueStart = 4000;

// A folder message record's tagged directory starts with one of these column pairs.
bool ItemMarker(const PageView& page, int64_t p);

// How a scanner walks the folder's pages: the last marker position examined, the share of the
// item progress bar that the pages cover and whether the walk sets the bar's range first.
struct FolderWalkShape {
    int64_t lastPosition;
    int progressSpan;
    bool setsProgressRange;
};

// Called for each record of the folder with the page, the marker position p and the scan
// position (p on entry), which the decoder moves; the walk resumes one byte after it. Returns
// false when a stop was seen.
using FolderRecordVisitor = std::function<bool(const PageView& page, int64_t p, int64_t& position)>;

// Walks the pages of a folder's message table and visits every record whose folder id text
// equals folderId. True when the walk ran to its end (or a page could not be read); false when
// the table has no pages or a stop was seen.
bool WalkFolderRecords(ProcessingContext& context, int32_t tableObjectId,
                       const std::u16string& folderId, const FolderWalkShape& shape,
                       const FolderRecordVisitor& visit);

}  // namespace velmor
