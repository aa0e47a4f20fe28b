#pragma once

#include <cstdint>
#include <string>

#include "items/item_records.h"

namespace velmor {

// The item date text of a stored FILETIME in local time, for example "Thu 4/10/2007 01:39:07 PM";
// empty when the time cannot be converted or its local year is before 1601 or above 9999. Also kept
// in dateText.
const std::u16string& FormatItemDate(CItem& record, uint32_t low, uint32_t high);

// The same text without a record.
std::u16string FormatFileTime(uint64_t fileTime);

}  // namespace velmor
