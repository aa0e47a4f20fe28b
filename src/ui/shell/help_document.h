#pragma once

#include <filesystem>

namespace velmor::ui {

inline constexpr char16_t kHelpFileNotFound[] = u"Help file not found, PLease reinstall software";

// The help document beside the executable: the executable's path with its file name in lower
// case, without a trailing ".exe", followed by ".html".
std::filesystem::path HelpDocumentPath(const std::filesystem::path& executable);

}  // namespace velmor::ui
