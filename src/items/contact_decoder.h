#pragma once

#include <cstdint>

#include "discovery/processing_context.h"
#include "items/item_records.h"

namespace velmor {

// Fills a contact from its record in the message table, found through the message index by
// the contact id; position starts at the record start R in the folder's page and advances by
// one directory entry for each entry walked in the message record.
void DecodeContact(ProcessingContext& context, int64_t& position, CContact& contact);

}  // namespace velmor
