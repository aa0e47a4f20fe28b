#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "export/atomic_file.h"
#include "export/pst/pst_bytes.h"

namespace velmor::pst {

// The space of the file being written: everything is appended, each allocation inside one
// allocation map's range, and the maps (allocation, page, free and free-page maps, and the
// density list) are kept as the file grows. The file is written unnamed and named only
// by Commit.
class FileSpace {
public:
    FileSpace(std::filesystem::path directory, const EdbFile* database);

    // Creates the file with room for the header; false with a reason in error.
    bool Open();
    // Makes room for size bytes (a whole number of 64-byte slots) at the next position
    // aligned to alignment, inside one range, and marks it taken; the position, where the
    // next Write lands, or nothing after a failed write.
    std::optional<uint64_t> Place(uint64_t size, uint64_t alignment);
    // Appends bytes at the end of the file; false after a failed write.
    bool Write(const Bytes& bytes);
    // Ends the file at the end of its last range and writes every map, the density list as
    // the page densityListBid; false on failure.
    bool Close(uint64_t densityListBid);
    // Writes the header over the room left for it and names the file.
    std::optional<std::filesystem::path> Commit(const Bytes& header, const std::string& name);

    uint64_t fileEnd() const { return end_; }
    uint64_t lastAMapOffset() const;
    uint64_t freeBytes() const;
    const std::string& error() const { return file_.error(); }

private:
    struct Range {
        uint16_t freeSlots = 0;
        uint8_t longestFreeRun = 0;
    };

    bool Pad(uint64_t position);
    bool EnterRange();
    bool CloseRange();
    void MarkAllocated(uint64_t offset, uint64_t size);
    bool WriteFreeMaps();
    bool WriteDensityList(uint64_t bid);

    AtomicFile file_;
    uint64_t end_ = 0;
    uint64_t range_ = 0;  // the range being filled
    Bytes bitmap_;        // its allocation bits
    std::vector<Range> closed_;
};

}  // namespace velmor::pst
