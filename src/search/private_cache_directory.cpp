#include "search/private_cache_directory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace velmor {

namespace {

constexpr mode_t kDirectoryMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr mode_t kOthersWrite = S_IWGRP | S_IWOTH;
constexpr mode_t kOthersAccess = S_IRWXG | S_IRWXO;

bool IsPrivate(const struct stat& status) {
    return S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
           (status.st_mode & kOthersWrite) == 0;
}

}  // namespace

bool MakePrivateDirectory(const std::filesystem::path& directory) {
    if (::mkdir(directory.c_str(), kDirectoryMode) != 0) {
        return false;
    }
    // mkdir's mode passes through the umask; a umask may not widen it, but it may narrow it.
    return ::chmod(directory.c_str(), kDirectoryMode) == 0;
}

bool IsPrivateDirectory(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && IsPrivate(status);
}

CacheDirectoryAccess PrepareCacheDirectory(const std::filesystem::path& directory) {
    // The missing directories, nearest to the root first.
    std::vector<std::filesystem::path> missing;
    struct stat status {};
    for (std::filesystem::path path = directory;
         !path.empty() && ::lstat(path.c_str(), &status) != 0 && errno == ENOENT;
         path = path.parent_path()) {
        missing.insert(missing.begin(), path);
        if (path == path.parent_path()) {
            break;
        }
    }
    for (const std::filesystem::path& path : missing) {
        if (!MakePrivateDirectory(path) && errno != EEXIST) {
            return CacheDirectoryAccess::Unusable;
        }
    }
    if (::lstat(directory.c_str(), &status) != 0) {
        return CacheDirectoryAccess::Unusable;
    }
    if (S_ISLNK(status.st_mode)) {
        return CacheDirectoryAccess::NotPrivate;
    }
    if (!S_ISDIR(status.st_mode)) {
        return CacheDirectoryAccess::Unusable;
    }
    // Checked on the directory opened, so that one put in its place since is not taken for it.
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno == ELOOP ? CacheDirectoryAccess::NotPrivate : CacheDirectoryAccess::Unusable;
    }
    CacheDirectoryAccess access = CacheDirectoryAccess::Unusable;
    if (::fstat(fd, &status) == 0) {
        access =
            IsPrivate(status) ? CacheDirectoryAccess::Private : CacheDirectoryAccess::NotPrivate;
        if (access == CacheDirectoryAccess::Private && (status.st_mode & kOthersAccess) != 0 &&
            ::fchmod(fd, kDirectoryMode) != 0) {
            access = CacheDirectoryAccess::Unusable;
        }
    }
    ::close(fd);
    return access;
}

void MakeTreePrivate(const std::filesystem::path& directory) {
    std::error_code error;
    ::chmod(directory.c_str(), kDirectoryMode);
    for (std::filesystem::recursive_directory_iterator entry(directory, error), end;
         !error && entry != end; entry.increment(error)) {
        const std::filesystem::file_status status = entry->symlink_status(error);
        if (std::filesystem::is_directory(status)) {
            ::chmod(entry->path().c_str(), kDirectoryMode);
        } else if (std::filesystem::is_regular_file(status)) {
            ::chmod(entry->path().c_str(), kFileMode);
        }
    }
}

}  // namespace velmor
