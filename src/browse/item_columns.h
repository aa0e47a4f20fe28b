#pragma once

#include <vector>

#include "browse/item_list.h"

namespace velmor {

// The columns (heading, width) of the item list for a folder kind.
const std::vector<ItemColumn>& ItemColumnsOf(int kind);

// Rebuilds the columns of the item list for a folder kind.
void SetupItemColumns(ItemList& list, int kind);

}  // namespace velmor
