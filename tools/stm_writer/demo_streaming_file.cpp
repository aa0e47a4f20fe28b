#include "stm_writer/demo_streaming_file.h"

#include "stm_writer/corpus_file.h"

namespace velmor::stm {

namespace {

constexpr int kDemoMessages = 7;
constexpr int64_t kLargestDemoMessage = 300000;
constexpr uint32_t kDemoSeed = 2026;
// A message with attachments, longer than two runs, that loses its second run.
constexpr int64_t kMovedMessageBytes = 200000;

}  // namespace

std::vector<CorpusMessage> DemoMessages() {
    std::vector<CorpusMessage> messages = MakeCorpus(kDemoMessages, kLargestDemoMessage, kDemoSeed);
    messages.push_back(MakeMessage(MessageKind::MixedAttachments, kMovedMessageBytes, kDemoSeed,
                                   kDemoMessages + 1));
    return messages;
}

std::vector<uint8_t> DemoStreamingFile() {
    return LayCorpus(DemoMessages(), kDemoSeed, kDemoMessages);
}

}  // namespace velmor::stm
