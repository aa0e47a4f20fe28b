#pragma once

#include <cstdint>
#include <vector>

namespace velmor::stm {

// The demo store's streaming file: Internet mail of every kind the corpus writes, with
// attachments, free pages and other data between the messages, and one message that lost a
// run of its pages (it comes back incomplete).
std::vector<uint8_t> DemoStreamingFile();

}  // namespace velmor::stm
