#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmor {

// Why a carved message is incomplete; empty when it is whole.
inline constexpr char kReasonMultipartNotClosed[] = "multipart not closed";
inline constexpr char kReasonBase64Cut[] = "base64 part cut";
inline constexpr char kReasonSizeLimit[] = "cut at the size limit";

// One message as it was carved: its bytes and where they lay. The bytes are those the carver
// read, handed on in place: they hold only during the call that hands the message over, and a
// caller copies what it keeps.
struct CarvedMessage {
    int64_t offset = 0;      // of its first byte in the source
    std::string_view bytes;  // trailing zero fill cut
    int64_t pages = 0;       // 4 KiB pages of the source it touches
    std::string incompleteReason;
};

}  // namespace velmor
