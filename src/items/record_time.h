#pragma once

#include <cstdint>

#include "edb/page_view.h"
#include "items/item_records.h"

namespace velmor {

// Reads the FILETIME at the record start R into the record's dateText and timestamp. A record whose
// time field would begin before the page keeps an empty date and a zero timestamp: nothing is read
// from outside the page.
const std::u16string& ReadRecordTime(const PageView& page, int64_t recordStart, CItem& record);

}  // namespace velmor
