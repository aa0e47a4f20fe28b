#include "stm_writer/corpus_file.h"

#include <fstream>

namespace velmor::stm {

std::vector<uint8_t> LayCorpus(const std::vector<CorpusMessage>& messages, uint32_t seed,
                               int movedMessage, std::vector<LaidMessage>* laid) {
    std::vector<uint8_t> file;
    StreamingLayout layout(
        [&](std::span<const uint8_t> bytes) {
            file.insert(file.end(), bytes.begin(), bytes.end());
        },
        seed);
    for (size_t i = 0; i < messages.size(); ++i) {
        layout.AddMessage(messages[i].bytes, messages[i].multipart,
                          static_cast<int>(i) == movedMessage);
    }
    layout.Finish();
    if (laid != nullptr) {
        *laid = layout.messages();
    }
    return file;
}

bool WriteStreamingFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

void WriteCorpusFile(const std::filesystem::path& path, const std::vector<CorpusMessage>& messages,
                     uint32_t seed) {
    WriteStreamingFile(path, LayCorpus(messages, seed));
}

}  // namespace velmor::stm
