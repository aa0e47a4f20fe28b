#include "export/atomic_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "export/file_naming_calls.h"

namespace velmor {

namespace {

// Writes are gathered into blocks of this size before they reach the file.
constexpr size_t kBufferSize = 64 * 1024;
// Copy numbers tried for a taken name before giving up.
constexpr int kMaxCopyNumber = 100000;
constexpr char kTemporaryPattern[] = ".velmor-export-XXXXXX";
constexpr mode_t kFileMode = 0644;
constexpr char kOpenFiles[] = "/proc/self/fd/";

// A file without a name needs the process's open-file links to be named later.
bool CanNameOpenFiles() {
    static const bool available = ::access(kOpenFiles, X_OK) == 0;
    return available;
}

// Names the finished file from as to by a plain rename over a placeholder created
// exclusively under to, so that a name taken meanwhile is never replaced; the placeholder
// goes again when the rename fails.
int RenameOverPlaceholder(const std::filesystem::path& from, const std::filesystem::path& to) {
    const int placeholder =
        ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (placeholder < 0) {
        return errno;
    }
    ::close(placeholder);
    if (::rename(from.c_str(), to.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        return error;
    }
    return 0;
}

// Renames from to to unless to exists: a no-replace rename, else a hard link, else (FAT and
// exFAT have neither) a placeholder. 0 or the errno, EEXIST when to is taken.
int RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    const FileNamingCalls& calls = ActiveFileNamingCalls();
    if (calls.renameNoReplace(from.c_str(), to.c_str()) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    if (calls.hardLink(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) {
        return errno;
    }
    return RenameOverPlaceholder(from, to);
}

}  // namespace

std::string NumberedName(const std::string& name, int number) {
    if (number <= 1) {
        return name;
    }
    const size_t dot = name.rfind('.');
    const size_t split = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, split) + " (" + std::to_string(number) + ")" + name.substr(split);
}

AtomicFile::AtomicFile(std::filesystem::path directory, const EdbFile* database)
    : directory_(std::move(directory)), database_(database) {}

AtomicFile::~AtomicFile() {
    Discard();
}

// A file without a name costs one directory change instead of three; file systems without
// them get a hidden temporary name.
bool AtomicFile::Open() {
    buffer_.reserve(kBufferSize);
    if (CanNameOpenFiles()) {
        fd_ = ActiveFileNamingCalls().openUnnamed(directory_.c_str(), kFileMode);
        if (fd_ >= 0) {
            return true;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return Fail("cannot create a file in " + directory_.string(), errno);
        }
    }
    std::string pattern = (directory_ / kTemporaryPattern).string();
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
        return Fail("cannot create a file in " + directory_.string(), errno);
    }
    temporary_ = pattern;
    ::fchmod(fd_, kFileMode);
    return true;
}

bool AtomicFile::Write(std::string_view bytes) {
    if (fd_ < 0) {
        return false;
    }
    buffer_ += bytes;
    return buffer_.size() < kBufferSize || Flush();
}

bool AtomicFile::WriteAt(uint64_t offset, std::string_view bytes) {
    return fd_ >= 0 && Flush() && WriteFully(bytes, offset);
}

bool AtomicFile::Flush() {
    if (!WriteFully(buffer_, std::nullopt)) {
        return false;
    }
    buffer_.clear();
    return true;
}

bool AtomicFile::WriteFully(std::string_view bytes, std::optional<uint64_t> offset) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = offset ? ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                                  static_cast<off_t>(*offset + done))
                                       : ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Fail("cannot write a file in " + directory_.string(),
                        written < 0 ? errno : ENOSPC);
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

std::optional<std::filesystem::path> AtomicFile::Commit(const std::string& name) {
    if (fd_ < 0 || !Flush()) {
        return std::nullopt;
    }
    for (int number = 1; number <= kMaxCopyNumber; ++number) {
        const std::filesystem::path target = directory_ / NumberedName(name, number);
        if (database_ != nullptr && database_->HoldsFile(target)) {
            continue;
        }
        const int result = NameAndClose(target);
        if (result != EEXIST) {
            return result == 0 ? std::optional(target) : std::nullopt;
        }
    }
    Fail("no free name for " + (directory_ / name).string(), EEXIST);
    return std::nullopt;
}

std::optional<std::filesystem::path> AtomicFile::CommitExactly(const std::string& name) {
    if (fd_ < 0 || !Flush()) {
        return std::nullopt;
    }
    const std::filesystem::path target = directory_ / name;
    if (database_ != nullptr && database_->HoldsFile(target)) {
        Fail(target.string() + " is the database", EEXIST);
        return std::nullopt;
    }
    const int result = NameAndClose(target);
    if (result == EEXIST) {
        Fail("cannot name " + target.string(), EEXIST);
    }
    return result == 0 ? std::optional(target) : std::nullopt;
}

int AtomicFile::NameAndClose(const std::filesystem::path& target) {
    const int result = Link(target);
    if (result == EEXIST) {
        return result;
    }
    if (result != 0) {
        Fail("cannot name " + target.string(), result);
        return result;
    }
    temporary_.clear();
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) {
        const int error = errno;
        ::unlink(target.c_str());
        Fail("cannot write " + target.string(), error);
        return error;
    }
    return 0;
}

int AtomicFile::Link(const std::filesystem::path& target) {
    if (!temporary_.empty()) {
        return RenameNoReplace(temporary_, target);
    }
    const std::string self = kOpenFiles + std::to_string(fd_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        return errno;
    }
    return 0;
}

bool AtomicFile::Fail(const std::string& what, int errorNumber) {
    error_ = what + ": " + std::strerror(errorNumber);
    Discard();
    return false;
}

void AtomicFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace velmor
