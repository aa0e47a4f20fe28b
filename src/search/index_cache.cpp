#include "search/index_cache.h"

#include <sys/stat.h>

#include <cstdlib>

#include "edb/text_codec.h"

namespace velmor {

namespace {

// Changes whenever the index's terms or documents change form, so that no older index is used.
constexpr char kIndexFormat[] = "velmor-search-index 8";
constexpr uint64_t kFnv64Offset = 14695981039346656037ULL;
constexpr uint64_t kFnv64Prime = 1099511628211ULL;

std::string Hex(uint64_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4) {
        text[static_cast<size_t>(i)] = kDigits[value & 0xF];
    }
    return text;
}

// A name for any text that is safe as a file name and the same in every run.
std::string Fingerprint(const std::string& text) {
    uint64_t hash = kFnv64Offset;
    for (unsigned char c : text) {
        hash = (hash ^ c) * kFnv64Prime;
    }
    return Hex(hash);
}

// A file's size, modification and change times: what changes when it is written again. The
// change time cannot be set back, so a file rewritten in place with its old modification time
// restored (touch -r) is still told apart.
std::string FileState(const struct stat& status) {
    return std::to_string(status.st_size) + "-" + std::to_string(status.st_mtim.tv_sec) + "." +
           std::to_string(status.st_mtim.tv_nsec) + "-" + std::to_string(status.st_ctim.tv_sec) +
           "." + std::to_string(status.st_ctim.tv_nsec);
}

}  // namespace

std::filesystem::path DefaultSearchCacheDirectory() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
        return std::filesystem::path(cache) / "velmor";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".cache" / "velmor";
    }
    return {};
}

std::optional<IndexCacheEntry> FindIndexCacheEntry(const std::filesystem::path& cacheDirectory,
                                                   const std::filesystem::path& database,
                                                   const std::u16string& mailbox,
                                                   const std::string& stemLanguage,
                                                   const std::filesystem::path& streamingFile) {
    struct stat status {};
    if (cacheDirectory.empty() || ::stat(database.c_str(), &status) != 0) {
        return std::nullopt;
    }
    const std::string store = std::to_string(status.st_dev) + "-" + std::to_string(status.st_ino);
    std::string state = FileState(status);
    if (struct stat streaming{};
        !streamingFile.empty() && ::stat(streamingFile.c_str(), &streaming) == 0) {
        state += " " + std::to_string(streaming.st_dev) + "-" + std::to_string(streaming.st_ino) +
                 "-" + FileState(streaming);
    }
    const std::string mailboxText = Utf16ToUtf8(mailbox) + "\n" + stemLanguage;
    IndexCacheEntry entry;
    entry.key = std::string(kIndexFormat) + "\n" + store + "\n" + state + "\n" + mailboxText;
    entry.storePrefix = store + "-" + Fingerprint(mailboxText) + "-";
    entry.directory = cacheDirectory / (entry.storePrefix + Fingerprint(entry.key));
    return entry;
}

void RemoveStaleIndexes(const IndexCacheEntry& entry) {
    std::error_code error;
    for (const auto& other :
         std::filesystem::directory_iterator(entry.directory.parent_path(), error)) {
        const std::string name = other.path().filename().string();
        if (name.starts_with(entry.storePrefix) && other.path() != entry.directory) {
            std::error_code ignored;
            std::filesystem::remove_all(other.path(), ignored);
        }
    }
}

}  // namespace velmor
