#pragma once

#include <filesystem>
#include <optional>

namespace velmor {

// The streaming file beside a database: the same name in the same directory with the
// extension .stm in any case ("Priv1.STM" beside "Priv1.edb"), any entry but a directory, so
// that one that cannot be read is said; none when there is none.
std::optional<std::filesystem::path> StreamingFileBeside(const std::filesystem::path& database);

}  // namespace velmor
