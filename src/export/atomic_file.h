#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "edb/edb_file.h"

namespace velmor {

// A file written without a name, or under a temporary one, in its target directory and given
// its real name only when complete, so that a stop, a full disk or a crash leaves complete
// files only. The name given never replaces an existing file, also on file systems without
// hard links or no-replace renames (FAT, exFAT): a taken name gets the next free " (2)",
// " (3)"... An object destroyed before Commit leaves nothing behind.
class AtomicFile {
public:
    // database: the open database, whose files are never a target; may be null.
    AtomicFile(std::filesystem::path directory, const EdbFile* database);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false with a reason in error.
    bool Open();
    bool isOpen() const { return fd_ >= 0; }
    // Appends bytes; false with a reason in error once a write failed.
    bool Write(std::string_view bytes);
    // Replaces bytes written earlier at offset; false with a reason in error.
    bool WriteAt(uint64_t offset, std::string_view bytes);
    // Writes out what is buffered, closes the file and names it; the final path, or nothing
    // with a reason in error (the temporary file is then removed).
    std::optional<std::filesystem::path> Commit(const std::string& name);
    // As Commit, but the name the user chose is never numbered: a taken name (a link, even one
    // that leads nowhere, counts) fails.
    std::optional<std::filesystem::path> CommitExactly(const std::string& name);

    const std::string& error() const { return error_; }

private:
    bool Flush();
    // Names the finished file target and closes it; 0, or the errno (EEXIST when target is
    // taken, the file then still open; any other with a reason in error).
    int NameAndClose(const std::filesystem::path& target);
    // Writes all of bytes at offset, or at the file's position when there is none.
    bool WriteFully(std::string_view bytes, std::optional<uint64_t> offset);
    // Gives the finished file the name target unless it is taken; 0 or the errno.
    int Link(const std::filesystem::path& target);
    bool Fail(const std::string& what, int errorNumber);
    void Discard();

    std::filesystem::path directory_;
    const EdbFile* database_;
    std::filesystem::path temporary_;  // empty for a file without a name
    int fd_ = -1;
    std::string buffer_;
    std::string error_;
};

// name with the copy number inserted before its extension: "00001 (2).eml"; number 1 gives
// name unchanged.
std::string NumberedName(const std::string& name, int number);

}  // namespace velmor
