#pragma once

#include <sys/types.h>

namespace velmor {

// The system calls by which finished export files get their names. Tests replace them to act
// as a file system without files that have no name, hard links or no-replace renames (FAT,
// exFAT). Each returns what the system call returns and leaves its errno.
struct FileNamingCalls {
    int (*openUnnamed)(const char* directory, mode_t mode);  // open with O_TMPFILE
    int (*renameNoReplace)(const char* from, const char* to);
    int (*hardLink)(const char* from, const char* to);
};

// The calls in use, process-wide; the system's own unless a test replaced them.
FileNamingCalls& ActiveFileNamingCalls();

}  // namespace velmor
