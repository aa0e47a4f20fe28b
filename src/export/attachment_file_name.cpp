#include "export/attachment_file_name.h"

namespace velmor {

namespace {

constexpr char kUnnamedAttachment[] = "attachment ";

}  // namespace

std::string AttachmentFileName(const std::string& name, size_t index) {
    // A name that carries a directory ("..\evil.exe") gives only its last part.
    std::string file = name;
    const size_t slash = file.find_last_of("/\\");
    if (slash != std::string::npos) {
        file.erase(0, slash + 1);
    }
    if (file.empty() || file == "." || file == "..") {
        return kUnnamedAttachment + std::to_string(index + 1);
    }
    return file;
}

}  // namespace velmor
