#pragma once

#include <string>

namespace velmor {

// The file name an attachment is saved and exported under: its own name without any
// directory, else "attachment" and its number (index from 0, shown from 1).
std::string AttachmentFileName(const std::string& name, size_t index);

// The name an attachment is saved under in a directory: AttachmentFileName made safe as the
// exports make folder names (SafeFileName), and with "_" before a name that starts with a dot,
// so that no saved attachment is hidden (".profile" becomes "_.profile").
std::string AttachmentSaveName(const std::string& name, size_t index);

}  // namespace velmor
