#include "export/safe_file_name.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr char kReplacement = '_';
constexpr unsigned char kLastControl = 0x1F;
constexpr unsigned char kDelete = 0x7F;
constexpr int kMaxCopyNumber = 100000;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Cuts UTF-8 to at most maxBytes without splitting a character.
std::string CutUtf8(std::string text, size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    size_t end = maxBytes;
    while (end > 0 && IsContinuationByte(text[end])) {
        --end;
    }
    text.resize(end);
    return text;
}

}  // namespace

std::string SafeFileName(const std::u16string& name, size_t maxBytes) {
    std::string safe = Utf16ToUtf8(name);
    for (char& c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || byte <= kLastControl || byte == kDelete) {
            c = kReplacement;
        }
    }
    if (safe.empty() || safe == "." || safe == "..") {
        safe.assign(safe.empty() ? 1 : safe.size(), kReplacement);
    }
    return CutUtf8(std::move(safe), maxBytes);
}

std::optional<std::filesystem::path> CreateUniqueDirectory(const std::filesystem::path& parent,
                                                           const std::u16string& name,
                                                           std::string& error) {
    for (int number = 1; number <= kMaxCopyNumber; ++number) {
        const std::string suffix = number == 1 ? "" : " (" + std::to_string(number) + ")";
        const std::filesystem::path directory =
            parent / (SafeFileName(name, kMaxComponentBytes - suffix.size()) + suffix);
        if (::mkdir(directory.c_str(), 0777) == 0) {
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
