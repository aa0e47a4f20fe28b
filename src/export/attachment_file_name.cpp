#include "export/attachment_file_name.h"

#include "edb/text_codec.h"
#include "export/safe_file_name.h"

namespace velmor {

namespace {

constexpr char kUnnamedAttachment[] = "attachment ";
constexpr char kHiddenNamePrefix = '_';

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

std::string AttachmentSaveName(const std::string& name, size_t index) {
    std::string safe = SafeFileName(Utf8ToUtf16(AttachmentFileName(name, index)));
    if (safe.starts_with('.')) {
        safe.insert(safe.begin(), kHiddenNamePrefix);
    }
    return safe;
}

}  // namespace velmor
