#pragma once

#include <string>

namespace velmor {

// The words of an HTML body for the index: tags, comments, scripts and style sheets dropped,
// the common character references decoded, each tag taken as a word break.
std::u16string HtmlToText(const std::u16string& html);

}  // namespace velmor
