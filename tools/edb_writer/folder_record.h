#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "edb_writer/entry_id.h"
#include "edb_writer/tagged_directory_writer.h"

namespace velmor::testdb {

// The record header a folder record is found by, and where the identifier search starts.
enum class FolderHeaderForm {
    Long,         // 0F 00 C0 at P; the search starts at P + 64
    LongFlagged,  // 0F FF C0 at P; the search starts at P + 64
    Short,        // the 32-bit value 0x00100008 at P; the search starts at P itself
};

// A record of the Folders table: the header at P; a run of words whose last word w is the
// distance from the identifiers to the tagged directory; the folder id at I (its first word is
// 1 to 6, which ends the run), the parent id at I + 8, a further id at I + 16; the tagged
// directory at Q = I + w, whose first entries are (256, 260) or (257, 258).
struct FolderRecord {
    FolderHeaderForm form = FolderHeaderForm::Long;
    EntryId folderId{};
    EntryId parentId{};
    EntryId furtherId{};
    std::vector<TaggedValue> values;
    DirectoryLayout layout;
    // Words of the run after the search start (after the header's own two words in the short
    // form); default: one word, the directory distance.
    std::vector<uint16_t> runWords;
    std::optional<uint16_t> directoryDistance;  // I to Q, at least 24; default 24
};

std::vector<uint8_t> EncodeFolderRecord(const FolderRecord& record);

// Offset of the record's tagged directory (Q) from its header (P).
int64_t FolderDirectoryOffset(const FolderRecord& record);

}  // namespace velmor::testdb
