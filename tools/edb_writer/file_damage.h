#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace velmor::testdb {

// Cuts a written database file to the given size, as an interrupted copy leaves it.
void TruncateFile(const std::filesystem::path& path, uint64_t size);

// Overwrites bytes of a written file in place (raw page damage at any file offset).
void OverwriteFileBytes(const std::filesystem::path& path, uint64_t offset,
                        std::span<const uint8_t> bytes);

}  // namespace velmor::testdb
