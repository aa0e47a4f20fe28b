#include "shell/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace velmor::ui {

namespace {

constexpr char kInstanceGuid[] = "{3D7A41C2-8E5B-4F16-A9C0-52B7E1D4F836}";

// The temporary directory is shared between users, so the name carries the user's id too.
std::string LockFileName() {
    return std::string("velmor-") + kInstanceGuid + "-" + std::to_string(::getuid()) + ".lock";
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(const std::filesystem::path& directory)
    : path_(directory / LockFileName()) {}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool SingleInstanceLock::Acquire() {
    if (fd_ < 0) {
        fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    }
    // A lock file that cannot be made must not keep the program from starting.
    if (fd_ < 0) {
        return true;
    }
    return ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

std::filesystem::path SingleInstanceLock::DefaultDirectory() {
    std::error_code error;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && std::filesystem::is_directory(runtime, error)) {
        return runtime;
    }
    return std::filesystem::temp_directory_path(error);
}

}  // namespace velmor::ui
