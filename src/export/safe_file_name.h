#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmor {

// The longest file-name component written, in bytes of UTF-8, copy number included.
inline constexpr size_t kMaxComponentBytes = 200;

// A folder name as a file-name component: "/", NUL and control characters become "_", "."
// and ".." and the empty name become underscores, and the UTF-8 is cut at a character
// boundary to at most maxBytes.
std::string SafeFileName(const std::u16string& name, size_t maxBytes = kMaxComponentBytes);

// Creates a new directory named after the folder inside parent; a name that exists gets the
// next free " (2)", " (3)"... The directory, or nothing with a reason in error.
std::optional<std::filesystem::path> CreateUniqueDirectory(const std::filesystem::path& parent,
                                                           const std::u16string& name,
                                                           std::string& error);

}  // namespace velmor
