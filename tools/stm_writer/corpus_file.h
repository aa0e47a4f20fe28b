#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "stm_writer/mime_corpus.h"
#include "stm_writer/streaming_layout.h"

namespace velmor::stm {

// The messages laid into a whole streaming file in memory; a run of movedMessage (an index,
// -1 for none) goes to the end of the file. laid, when given, receives where each one went.
std::vector<uint8_t> LayCorpus(const std::vector<CorpusMessage>& messages, uint32_t seed,
                               int movedMessage = -1, std::vector<LaidMessage>* laid = nullptr);

// Writes a streaming file's bytes to path; false when they cannot be written.
bool WriteStreamingFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// The messages laid out with none moved, written to path.
void WriteCorpusFile(const std::filesystem::path& path, const std::vector<CorpusMessage>& messages,
                     uint32_t seed);

}  // namespace velmor::stm
