#pragma once

#include <cstdint>
#include <vector>

// The columns of the tables a folder and a message carry, as their templates give them.
namespace velmor::pst {

const std::vector<uint32_t>& HierarchyTableColumns();
const std::vector<uint32_t>& ContentsTableColumns();
const std::vector<uint32_t>& SearchContentsTableColumns();
const std::vector<uint32_t>& AssociatedContentsTableColumns();
const std::vector<uint32_t>& RecipientTableColumns();
const std::vector<uint32_t>& AttachmentTableColumns();

}  // namespace velmor::pst
