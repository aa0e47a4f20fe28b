#include "stm_writer/corpus_file.h"

#include <fstream>
#include <string>

#include "stm_writer/streaming_layout.h"

namespace velmor::stm {

std::vector<uint8_t> LayCorpus(const std::vector<CorpusMessage>& messages, uint32_t seed,
                               int movedMessage) {
    std::vector<std::string> bytes;
    std::vector<bool> multipart;
    for (const CorpusMessage& message : messages) {
        bytes.push_back(message.bytes);
        multipart.push_back(message.multipart);
    }
    std::vector<LaidMessage> laid;
    return LayStreamingFile(bytes, multipart, seed, movedMessage, laid);
}

void WriteCorpusFile(const std::filesystem::path& path, const std::vector<CorpusMessage>& messages,
                     uint32_t seed) {
    const std::vector<uint8_t> file = LayCorpus(messages, seed);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
}

}  // namespace velmor::stm
