#pragma once

#include <filesystem>

namespace velmor {

// What the search cache's directory is to its user.
enum class CacheDirectoryAccess {
    Private,     // the user's own, writable by nobody else: indexes may be kept there
    Unusable,    // it cannot be made (a file stands in its place, no permission)
    NotPrivate,  // a link, another user's, or writable by group or others: never used
};

// Makes the cache's directory, and the missing directories above it, 0700 without following
// a link, and says whether indexes may be kept there. The user's own directory that others
// may read is made 0700: an index holds the mailbox's words, senders and subjects.
CacheDirectoryAccess PrepareCacheDirectory(const std::filesystem::path& directory);

// Makes a directory 0700 whatever the umask; false when it exists already or cannot be made.
bool MakePrivateDirectory(const std::filesystem::path& directory);

// Makes every directory below directory, and itself, 0700 and every file 0600, whatever the
// umask gave the files the index library wrote. Links are left alone.
void MakeTreePrivate(const std::filesystem::path& directory);

// Whether path is a directory, not a link, of the user and writable by nobody else.
bool IsPrivateDirectory(const std::filesystem::path& path);

}  // namespace velmor
