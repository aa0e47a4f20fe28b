#pragma once

#include <filesystem>
#include <string_view>

namespace velmor {

// The template file last written: "Test.eml" in a private directory that the process made
// below the user's temporary directory (TMPDIR, else /tmp), "velmor-" and six characters;
// empty before the first.
std::filesystem::path MessageTemplatePath();

// Writes the fixed MIME message template, replacing the process's older one; silent when the
// file cannot be created. Never follows a link nor touches a file that the process did not
// make.
void WriteMessageTemplate();

// Removes the template file and its directory, as the program does when it ends.
void DeleteMessageTemplate();

// The template's exact text, with CRLF line breaks and none after the last line.
std::string_view MessageTemplateText();

}  // namespace velmor
