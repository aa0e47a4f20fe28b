#pragma once

#include <cstdint>

#include "edb/edb_file.h"

namespace velmor {

// The 4096 bytes at a message record's tagged directory, read through its message-index
// position; false when the read fails or comes up short.
inline bool ReadRecordBlock(EdbFile& file, int64_t recordPosition, PageBuffer& block) {
    return file.ReadAt(recordPosition, block) == PAGE_SIZE;
}

// A message-index position that the mail readers accept: inside the file, past its first byte.
inline bool ReadablePosition(const EdbFile& file, int64_t recordPosition) {
    return recordPosition > 0 && static_cast<uint64_t>(recordPosition) < file.fileSize();
}

}  // namespace velmor
