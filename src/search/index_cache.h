#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmor {

// Where a mailbox's index lives in the user's cache, named after what the store is on disk
// (device, inode, size, modification and change times) and the mailbox, so that a changed or
// different store never finds an index of another.
struct IndexCacheEntry {
    std::filesystem::path directory;  // the index itself
    std::string key;                  // kept in the index and checked when it is opened
    // Names of this mailbox's indexes of earlier states of the store start with it.
    std::string storePrefix;
};

// $XDG_CACHE_HOME/velmor, else ~/.cache/velmor; empty when neither is known.
std::filesystem::path DefaultSearchCacheDirectory();

// The entry of the mailbox of the database below cacheDirectory; none when the database
// cannot be looked at. A streaming file whose originals the index holds, when given, is
// part of the key as the database is.
std::optional<IndexCacheEntry> FindIndexCacheEntry(const std::filesystem::path& cacheDirectory,
                                                   const std::filesystem::path& database,
                                                   const std::u16string& mailbox,
                                                   const std::string& stemLanguage,
                                                   const std::filesystem::path& streamingFile = {});

// Removes the indexes of the same mailbox built for earlier states of the store.
void RemoveStaleIndexes(const IndexCacheEntry& entry);

}  // namespace velmor
