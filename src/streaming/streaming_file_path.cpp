#include "streaming/streaming_file_path.h"

#include <cctype>
#include <string>

namespace velmor {

namespace {

constexpr char kStreamingExtension[] = ".stm";

bool IsStreamingExtension(const std::string& extension) {
    if (extension.size() != sizeof(kStreamingExtension) - 1) {
        return false;
    }
    for (size_t i = 0; i < extension.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(extension[i])) != kStreamingExtension[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::filesystem::path> StreamingFileBeside(const std::filesystem::path& database) {
    std::error_code error;
    const std::filesystem::path directory =
        database.has_parent_path() ? database.parent_path() : std::filesystem::path(".");
    const std::filesystem::path stem = database.stem();
    std::optional<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::filesystem::path& path = entry.path();
        if (path.stem() == stem && IsStreamingExtension(path.extension().string()) &&
            !entry.is_directory(error) && path.filename() != database.filename()) {
            // The lowest name when several cases lie there, so the choice does not depend on
            // the order of the directory.
            if (!found || path < *found) {
                found = path;
            }
        }
    }
    return found;
}

}  // namespace velmor
