#include "shell/help_document.h"

#include <algorithm>
#include <string>

namespace velmor::ui {

namespace {

constexpr std::string_view kWindowsProgramSuffix = ".exe";
constexpr std::string_view kHelpDocumentSuffix = ".html";

}  // namespace

std::filesystem::path HelpDocumentPath(const std::filesystem::path& executable) {
    std::string name = executable.filename().string();
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    if (name.ends_with(kWindowsProgramSuffix)) {
        name.resize(name.size() - kWindowsProgramSuffix.size());
    }
    return executable.parent_path() / (name + std::string(kHelpDocumentSuffix));
}

}  // namespace velmor::ui
