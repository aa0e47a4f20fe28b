#include "edb_writer/file_damage.h"

#include <fstream>
#include <stdexcept>

namespace velmor::testdb {

void TruncateFile(const std::filesystem::path& path, uint64_t size) {
    std::filesystem::resize_file(path, size);
}

void OverwriteFileBytes(const std::filesystem::path& path, uint64_t offset,
                        std::span<const uint8_t> bytes) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot overwrite bytes of " + path.string());
    }
}

}  // namespace velmor::testdb
