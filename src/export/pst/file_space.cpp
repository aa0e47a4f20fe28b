#include "export/pst/file_space.h"

#include <algorithm>
#include <string_view>

#include "export/pst/page.h"
#include "export/pst/pst_crc.h"
#include "export/pst/pst_layout.h"

namespace velmor::pst {

namespace {

constexpr uint8_t kLongestRunCap = 0xFF;
constexpr uint32_t kDensityPageBits = 20;

uint64_t RangeStart(uint64_t range) {
    return kFirstAMapOffset + range * kAMapCoverage;
}

bool HasPMap(uint64_t range) {
    return range % kRangesPerPMap == 0;
}
bool HasFMap(uint64_t range) {
    return range >= kFirstFMapRange && (range - kFirstFMapRange) % kRangesPerFMap == 0;
}
bool HasFPMap(uint64_t range) {
    return range >= kFirstFPMapRange && (range - kFirstFPMapRange) % kRangesPerFPMap == 0;
}

uint64_t AlignUp(uint64_t value, uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

std::string_view View(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

FileSpace::FileSpace(std::filesystem::path directory, const EdbFile* database)
    : file_(std::move(directory), database) {}

bool FileSpace::Open() {
    return file_.Open() && Pad(kFirstAMapOffset) && EnterRange();
}

bool FileSpace::Write(const Bytes& bytes) {
    if (!file_.Write(View(bytes))) {
        return false;
    }
    end_ += bytes.size();
    return true;
}

bool FileSpace::Pad(uint64_t position) {
    static const Bytes kZeros(kAMapCoverage, 0);
    while (end_ < position) {
        const uint64_t size = std::min<uint64_t>(position - end_, kZeros.size());
        if (!file_.Write(std::string_view(reinterpret_cast<const char*>(kZeros.data()), size))) {
            return false;
        }
        end_ += size;
    }
    return true;
}

// A range starts with its allocation map, then the page map, free map and free-page map of
// the ranges that carry them. The allocation map is written when the range is full; the
// others hold nothing a reader of today's files uses and are written now (the free maps get
// their figures at the end).
bool FileSpace::EnterRange() {
    bitmap_.assign(kPageDataSize, 0);
    const uint64_t start = RangeStart(range_);
    if (!Pad(start + kPageSize)) {
        return false;
    }
    MarkAllocated(start, kPageSize);
    if (HasPMap(range_)) {
        MarkAllocated(end_, kPageSize);
        if (!Write(MakePage(Bytes(kPageDataSize, 0xFF), kPagePMap, 0, end_))) {
            return false;
        }
    }
    if (HasFMap(range_)) {
        MarkAllocated(end_, kPageSize);
        if (!Pad(end_ + kPageSize)) {
            return false;
        }
    }
    if (HasFPMap(range_)) {
        MarkAllocated(end_, kPageSize);
        if (!Write(MakePage(Bytes(kPageDataSize, 0), kPageFPMap, 0, end_))) {
            return false;
        }
    }
    return true;
}

void FileSpace::MarkAllocated(uint64_t offset, uint64_t size) {
    const uint64_t first = (offset - RangeStart(range_)) / kSlotSize;
    const uint64_t last = first + AlignUp(size, kSlotSize) / kSlotSize;
    for (uint64_t slot = first; slot < last; ++slot) {
        bitmap_[slot / 8] |= static_cast<uint8_t>(0x80 >> (slot % 8));
    }
}

bool FileSpace::CloseRange() {
    const uint64_t start = RangeStart(range_);
    if (!Pad(start + kAMapCoverage)) {
        return false;
    }
    Range closed;
    uint64_t run = 0;
    uint64_t longest = 0;
    for (uint64_t slot = 0; slot < kPageDataSize * 8; ++slot) {
        if ((bitmap_[slot / 8] & (0x80 >> (slot % 8))) == 0) {
            ++closed.freeSlots;
            longest = std::max(longest, ++run);
        } else {
            run = 0;
        }
    }
    closed.longestFreeRun = static_cast<uint8_t>(std::min<uint64_t>(longest, kLongestRunCap));
    closed_.push_back(closed);
    return file_.WriteAt(start, View(MakePage(bitmap_, kPageAMap, 0, start)));
}

std::optional<uint64_t> FileSpace::Place(uint64_t size, uint64_t alignment) {
    uint64_t position = AlignUp(end_, alignment);
    if (position + size > RangeStart(range_ + 1)) {
        if (!CloseRange()) {
            return std::nullopt;
        }
        ++range_;
        if (!EnterRange()) {
            return std::nullopt;
        }
        position = AlignUp(end_, alignment);
    }
    if (!Pad(position)) {
        return std::nullopt;
    }
    MarkAllocated(position, size);
    return position;
}

bool FileSpace::Close(uint64_t densityListBid) {
    return CloseRange() && WriteFreeMaps() && WriteDensityList(densityListBid);
}

// Each free-map byte holds the longest free run of one range's allocation map; the header's
// own free maps cover the first ranges and are left marked full.
bool FileSpace::WriteFreeMaps() {
    for (uint64_t range = kFirstFMapRange; range < closed_.size(); range += kRangesPerFMap) {
        Bytes data(kPageDataSize, 0);
        for (uint64_t i = 0; i < kPageDataSize && range + i < closed_.size(); ++i) {
            data[i] = closed_[range + i].longestFreeRun;
        }
        const uint64_t offset = RangeStart(range) + kPageSize * (HasPMap(range) ? 2 : 1);
        if (!file_.WriteAt(offset, View(MakePage(data, kPageFMap, 0, offset)))) {
            return false;
        }
    }
    return true;
}

// The density list names the ranges with the most free slots first.
bool FileSpace::WriteDensityList(uint64_t bid) {
    std::vector<uint32_t> ranges(closed_.size());
    for (uint32_t i = 0; i < ranges.size(); ++i) {
        ranges[i] = i;
    }
    std::stable_sort(ranges.begin(), ranges.end(), [this](uint32_t a, uint32_t b) {
        return closed_[a].freeSlots > closed_[b].freeSlots;
    });
    const size_t count = std::min(ranges.size(), kMaxDensityListEntries);
    Bytes data;
    Put8(data, kDensityListBackfillComplete);
    Put8(data, static_cast<uint8_t>(count));
    Put16(data, 0);
    Put32(data, static_cast<uint32_t>(range_));
    for (size_t i = 0; i < count; ++i) {
        Put32(data, ranges[i] |
                        (static_cast<uint32_t>(closed_[ranges[i]].freeSlots) << kDensityPageBits));
    }
    return file_.WriteAt(
        kDensityListOffset,
        View(MakePage(data, kPageDensityList, Signature(kDensityListOffset, bid), bid)));
}

uint64_t FileSpace::lastAMapOffset() const {
    return RangeStart(range_);
}

uint64_t FileSpace::freeBytes() const {
    uint64_t slots = 0;
    for (const Range& range : closed_) {
        slots += range.freeSlots;
    }
    return slots * kSlotSize;
}

std::optional<std::filesystem::path> FileSpace::Commit(const Bytes& header,
                                                       const std::string& name) {
    if (!file_.WriteAt(0, View(header))) {
        return std::nullopt;
    }
    return file_.Commit(name);
}

}  // namespace velmor::pst
