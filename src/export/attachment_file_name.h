#pragma once

#include <string>

namespace velmor {

// The file name an attachment is saved and exported under: its own name without any
// directory, else "attachment" and its number (index from 0, shown from 1).
std::string AttachmentFileName(const std::string& name, size_t index);

}  // namespace velmor
