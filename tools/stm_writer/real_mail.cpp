#include "stm_writer/real_mail.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace velmor::stm {

// Every file of the corpus is one message but the note naming its sources.
constexpr std::string_view kSourcesNoteExtension = ".md";

std::vector<std::string> ReadRealMail(const std::filesystem::path& directory) {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
        if (entry.is_regular_file() && entry.path().extension() != kSourcesNoteExtension) {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> messages;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        messages.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return messages;
}

std::string WithCrlf(std::string_view message) {
    std::string crlf;
    crlf.reserve(message.size() + message.size() / 32);
    for (size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\n' && (i == 0 || message[i - 1] != '\r')) {
            crlf += '\r';
        }
        crlf += message[i];
    }
    return crlf;
}

std::vector<uint8_t> LayRealMail(const std::vector<std::string>& messages, uint32_t seed,
                                 std::vector<LaidMessage>& laid) {
    std::vector<uint8_t> file;
    StreamingLayout streaming(
        [&](std::span<const uint8_t> bytes) {
            file.insert(file.end(), bytes.begin(), bytes.end());
        },
        seed);
    for (size_t i = 0; i < messages.size(); ++i) {
        const bool zeroFillEnds = messages[i].size() % kStreamingPageSize != 0;
        streaming.AddMessage(messages[i], zeroFillEnds);
    }
    streaming.Finish();
    laid = streaming.messages();
    return file;
}

}  // namespace velmor::stm
