#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "stm_writer/streaming_layout.h"

namespace velmor::stm {

// Real messages from other projects' test data (tests/data/real_mail), each file one message,
// in the order of their paths.
std::vector<std::string> ReadRealMail(const std::filesystem::path& directory);

// The message with every line feed that has no carriage return before it made CRLF.
std::string WithCrlf(std::string_view message);

// The messages laid into a streaming file in memory, each followed by free pages, other data
// (binary, text, XML) or the next message; other data follows a message directly wherever
// zero fill ends its last page, so that every message's end can be told. laid receives where
// each one went.
std::vector<uint8_t> LayRealMail(const std::vector<std::string>& messages, uint32_t seed,
                                 std::vector<LaidMessage>& laid);

}  // namespace velmor::stm
