#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace velmor {

// The longest file-name component written, in bytes of UTF-8, copy number included.
inline constexpr size_t kMaxComponentBytes = 200;

// A folder name as a file-name component that FAT, exFAT, NTFS and Windows shares accept as
// well: control characters and < > : " / \ | ? * become "_", so do trailing dots and blanks
// (and with them "." and ".."); the empty name becomes "_"; a device name that Windows
// reserves (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any case, also before an
// extension) gets "_" after it: "CON_", "nul_.txt". The UTF-8 is cut at a character boundary
// to at most maxBytes.
std::string SafeFileName(const std::u16string& name, size_t maxBytes = kMaxComponentBytes);

// A component as a file system that ignores case compares it (ASCII letters only).
std::string FoldedFileName(std::string_view name);

// Creates a new directory named after the folder inside parent; a name that exists gets the
// next free " (2)", " (3)"... takenFolded, when given, holds the folded names already made
// in parent, so that names differing only in case are numbered as well; the new one is added.
// The directory, or nothing with a reason in error.
std::optional<std::filesystem::path> CreateUniqueDirectory(
    const std::filesystem::path& parent, const std::u16string& name, std::string& error,
    std::set<std::string>* takenFolded = nullptr);

}  // namespace velmor
