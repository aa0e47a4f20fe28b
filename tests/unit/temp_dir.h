#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace velmor::test {

// A fresh directory under the system's temporary directory, removed with its contents.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmor-test-XXXXXX");
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Whether a message template "Test.eml" lies in a directory directly below directory, where
// the program makes its private one.
inline bool HoldsMessageTemplate(const std::filesystem::path& directory) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        if (entry.is_directory() && std::filesystem::exists(entry.path() / "Test.eml")) {
            return true;
        }
    }
    return false;
}

// Points TMPDIR at a directory for the life of the object.
class ScopedTmpDir {
public:
    explicit ScopedTmpDir(const std::filesystem::path& directory) {
        const char* old = std::getenv("TMPDIR");
        hadOld_ = old != nullptr;
        old_ = old ? old : "";
        setenv("TMPDIR", directory.c_str(), 1);
    }
    ~ScopedTmpDir() {
        if (hadOld_) {
            setenv("TMPDIR", old_.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    ScopedTmpDir(const ScopedTmpDir&) = delete;
    ScopedTmpDir& operator=(const ScopedTmpDir&) = delete;

private:
    std::string old_;
    bool hadOld_ = false;
};

}  // namespace velmor::test
