#include "export/file_naming_calls.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace velmor {

namespace {

int OpenUnnamed(const char* directory, mode_t mode) {
    return ::open(directory, O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

int RenameNoReplace(const char* from, const char* to) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int HardLink(const char* from, const char* to) {
    return ::link(from, to);
}

}  // namespace

FileNamingCalls& ActiveFileNamingCalls() {
    static FileNamingCalls calls{OpenUnnamed, RenameNoReplace, HardLink};
    return calls;
}

}  // namespace velmor
