#include "edb/path_validation.h"

#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr std::u16string_view kDatabaseNameMark = u".EDB";

std::u16string UpperCased(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    return text;
}

}  // namespace

bool ValidateDatabasePath(EdbFile& file, const std::u16string& path, PathValidationPort& port) {
    if (path.empty()) {
        port.OpenFileChooser();
        return false;
    }
    const std::filesystem::path fsPath(Utf16ToUtf8(path));
    std::error_code error;
    if (!std::filesystem::is_regular_file(fsPath, error)) {
        port.ShowPathError(kFileDoesNotExist, true);
        return false;
    }
    if (UpperCased(path).find(kDatabaseNameMark) == std::u16string::npos) {
        port.ShowPathError(kNotAnEdbFile, false);
        return false;
    }
    if (file.OpenDatabase(fsPath) != 0) {
        port.ShowPathError(kFileCouldNotBeOpened, false);
        return false;
    }
    return true;
}

}  // namespace velmor
