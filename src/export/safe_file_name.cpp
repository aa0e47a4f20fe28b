#include "export/safe_file_name.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr char kReplacement = '_';
constexpr unsigned char kLastControl = 0x1F;
constexpr unsigned char kDelete = 0x7F;
constexpr int kMaxCopyNumber = 100000;
// Characters that FAT, exFAT, NTFS or a Windows share refuse in a name.
constexpr std::string_view kRefusedCharacters = "<>:\"/\\|?*";
// Device names that Windows reserves, alone or before an extension, in any case.
constexpr std::string_view kReservedNames[] = {"CON", "PRN", "AUX", "NUL"};
constexpr std::string_view kReservedNumberedNames[] = {"COM", "LPT"};

// Cuts UTF-8 to at most maxBytes without splitting a character.
std::string CutUtf8(std::string text, size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    size_t end = maxBytes;
    while (end > 0 && IsUtf8ContinuationByte(text[end])) {
        --end;
    }
    text.resize(end);
    return text;
}

bool IsRefused(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= kLastControl || byte == kDelete ||
           kRefusedCharacters.find(c) != std::string_view::npos;
}

std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

bool IsReservedDeviceName(std::string_view name) {
    const std::string base = AsciiUpper(name.substr(0, name.find('.')));
    for (std::string_view reserved : kReservedNames) {
        if (base == reserved) {
            return true;
        }
    }
    for (std::string_view reserved : kReservedNumberedNames) {
        if (base.size() == reserved.size() + 1 && base.starts_with(reserved) &&
            base.back() >= '1' && base.back() <= '9') {
            return true;
        }
    }
    return false;
}

// Trailing dots and blanks vanish from names on Windows file systems: they become "_" too.
void ReplaceTrailingDotsAndBlanks(std::string& name) {
    for (size_t i = name.size(); i > 0 && (name[i - 1] == '.' || name[i - 1] == ' '); --i) {
        name[i - 1] = kReplacement;
    }
}

}  // namespace

std::string FoldedFileName(std::string_view name) {
    return AsciiUpper(name);
}

std::string SafeFileName(const std::u16string& name, size_t maxBytes) {
    std::string safe = Utf16ToUtf8(name);
    for (char& c : safe) {
        if (IsRefused(c)) {
            c = kReplacement;
        }
    }
    if (safe.empty()) {
        safe = kReplacement;
    }
    if (IsReservedDeviceName(safe)) {
        safe.insert(std::min(safe.find('.'), safe.size()), 1, kReplacement);
    }
    safe = CutUtf8(std::move(safe), maxBytes);
    ReplaceTrailingDotsAndBlanks(safe);
    return safe;
}

std::optional<std::filesystem::path> CreateUniqueDirectory(const std::filesystem::path& parent,
                                                           const std::u16string& name,
                                                           std::string& error,
                                                           std::set<std::string>* takenFolded) {
    for (int number = 1; number <= kMaxCopyNumber; ++number) {
        const std::string suffix = number == 1 ? "" : " (" + std::to_string(number) + ")";
        const std::string component =
            SafeFileName(name, kMaxComponentBytes - suffix.size()) + suffix;
        const std::string folded = FoldedFileName(component);
        if (takenFolded != nullptr && takenFolded->contains(folded)) {
            continue;
        }
        const std::filesystem::path directory = parent / component;
        if (::mkdir(directory.c_str(), 0777) == 0) {
            if (takenFolded != nullptr) {
                takenFolded->insert(folded);
            }
            return directory;
        }
        if (errno != EEXIST) {
            error = "cannot create " + directory.string() + ": " + std::strerror(errno);
            return std::nullopt;
        }
    }
    error = "no free name for " + (parent / SafeFileName(name)).string();
    return std::nullopt;
}

}  // namespace velmor
