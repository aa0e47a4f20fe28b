#pragma once

#include <filesystem>
#include <string_view>

namespace velmor {

// "Test.eml" in the user's temporary directory (TMPDIR, else /tmp).
std::filesystem::path MessageTemplatePath();

// Writes the fixed MIME message template, truncating an older one; silent when the file
// cannot be created.
void WriteMessageTemplate();

// Removes the template file if it exists, as the program does when it ends.
void DeleteMessageTemplate();

// The template's exact text, with CRLF line breaks and none after the last line.
std::string_view MessageTemplateText();

}  // namespace velmor
