#include "export/atomic_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmor {

namespace {

// Writes are gathered into blocks of this size before they reach the file.
constexpr size_t kBufferSize = 64 * 1024;
// Copy numbers tried for a taken name before giving up.
constexpr int kMaxCopyNumber = 100000;
constexpr char kTemporaryPattern[] = ".velmor-export-XXXXXX";

// Renames from to to unless to exists. Falls back to a hard link where the file system
// cannot rename without replacing.
int RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
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

bool AtomicFile::Open() {
    std::string pattern = (directory_ / kTemporaryPattern).string();
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
        return Fail("cannot create a file in " + directory_.string(), errno);
    }
    temporary_ = pattern;
    buffer_.reserve(kBufferSize);
    return true;
}

bool AtomicFile::Write(std::string_view bytes) {
    if (fd_ < 0) {
        return false;
    }
    buffer_ += bytes;
    return buffer_.size() < kBufferSize || Flush();
}

bool AtomicFile::Flush() {
    size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t written = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Fail("cannot write " + temporary_.string(), written < 0 ? errno : ENOSPC);
        }
        done += static_cast<size_t>(written);
    }
    buffer_.clear();
    return true;
}

std::optional<std::filesystem::path> AtomicFile::Commit(const std::string& name) {
    if (fd_ < 0 || !Flush()) {
        return std::nullopt;
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) {
        Fail("cannot write " + temporary_.string(), errno);
        return std::nullopt;
    }
    for (int number = 1; number <= kMaxCopyNumber; ++number) {
        const std::filesystem::path target = directory_ / NumberedName(name, number);
        if (database_ != nullptr && database_->HoldsFile(target)) {
            continue;
        }
        const int result = RenameNoReplace(temporary_, target);
        if (result == 0) {
            temporary_.clear();
            return target;
        }
        if (result != EEXIST) {
            Fail("cannot name " + target.string(), result);
            return std::nullopt;
        }
    }
    Fail("no free name for " + (directory_ / name).string(), EEXIST);
    return std::nullopt;
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
