#pragma once

#include <cstdint>
#include <vector>

#include "stm_writer/mime_corpus.h"

namespace velmor::stm {

// The demo store's streaming file: Internet mail of every kind the corpus writes, with
// attachments, free pages and other data between the messages, and one message that lost a
// run of its pages (it comes back incomplete).
std::vector<uint8_t> DemoStreamingFile();

// The messages of the demo's streaming file in the order it holds them, each numbered from 1
// (Message-ID <carve-N@example.org>, sent on 7 December 2026 at 08:(10+N):00 UTC); the last
// one loses a run.
std::vector<CorpusMessage> DemoMessages();

}  // namespace velmor::stm
