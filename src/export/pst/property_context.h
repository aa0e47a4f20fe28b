#pragma once

#include "export/pst/node_database.h"
#include "export/pst/property_list.h"

namespace velmor::pst {

// The node content of a property context holding the properties: a B-tree on the heap of
// property id, type and value (values of up to four bytes in place, the others in the heap
// or in subnodes).
NodeContent BuildPropertyContext(const PropertyList& properties);

}  // namespace velmor::pst
