#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "edb_writer/store_model.h"
#include "edb_writer/tagged_directory_writer.h"

namespace velmor::testdb {

// The message class an item of the kind usually has.
std::string_view DefaultMessageClass(ItemKind kind);

// The tagged values of the item's record in its folder's own message table.
std::vector<TaggedValue> FolderTableValues(const Item& item);

// Whether the item's encoded recipient list goes to a long-value page.
bool StoresRecipientsOutOfLine(const Item& item, size_t listSize);

// The tagged values of the item's record in the store's message table. The recipient list is
// stored in line, or, given a long-value id, as a reference to the long value.
std::vector<TaggedValue> MessageTableValues(const Item& item,
                                            const std::vector<uint8_t>& recipientList,
                                            std::optional<uint16_t> longValueId);

}  // namespace velmor::testdb
