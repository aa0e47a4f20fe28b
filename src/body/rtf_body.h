#pragma once

#include <string>
#include <string_view>

namespace velmor {

// What an RTF body holds: HTML or plain text that a mail program wrapped in RTF ("\fromhtml1",
// "\fromtext"), or RTF of its own.
enum class RtfOrigin { Rtf, Html, Text };

struct RtfBody {
    RtfOrigin origin = RtfOrigin::Rtf;
    // The wrapped HTML or text recovered, or the RTF's own text (paragraphs as line breaks,
    // code-page bytes and \uN characters decoded, everything else dropped).
    std::u16string text;
};

// 8-bit text in the RTF is read in the code page of its font (\fcharsetN, \cpgN) or else of the
// document (\ansicpg, \mac, \pc, \pca; Windows-1252 without).
RtfBody ReadRtfBody(std::string_view rtf);

}  // namespace velmor
