#pragma once

#include <filesystem>

namespace velmor::ui {

inline constexpr char16_t kAnotherInstanceRunning[] = u"Another instance of program is running";

// The lock that lets one copy of the program run per user: a file named by a fixed GUID in
// the user's runtime directory, held with an exclusive flock. The system drops the lock when
// the holder ends, however it ends, so a crash leaves nothing that blocks the next start.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const std::filesystem::path& directory = DefaultDirectory());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // False when another copy holds the lock.
    bool Acquire();

    const std::filesystem::path& path() const { return path_; }

    // $XDG_RUNTIME_DIR when it names a directory, else the temporary directory.
    static std::filesystem::path DefaultDirectory();

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

}  // namespace velmor::ui
