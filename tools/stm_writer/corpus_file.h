#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "stm_writer/mime_corpus.h"

namespace velmor::stm {

// The messages laid into a whole streaming file in memory; a run of movedMessage (an index,
// -1 for none) goes to the end of the file.
std::vector<uint8_t> LayCorpus(const std::vector<CorpusMessage>& messages, uint32_t seed,
                               int movedMessage = -1);

// The file with none moved, written to path.
void WriteCorpusFile(const std::filesystem::path& path, const std::vector<CorpusMessage>& messages,
                     uint32_t seed);

}  // namespace velmor::stm
