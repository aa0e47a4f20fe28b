#include "discovery/long_value_store.h"

#include <vector>

namespace velmor {

const LongValueIndex& LongValueStore::IndexOf(EdbFile& file, PageGroupList& groups,
                                              int32_t objectId) {
    if (const auto it = indexes_.find(objectId); it != indexes_.end()) {
        return it->second;
    }
    if (!format_) {
        format_ = ReadDatabaseFormat(file);
    }
    LongValueIndex& index = indexes_[objectId];
    const ObjectPageGroup* group = groups.Find(objectId);
    if (group == nullptr) {
        return index;
    }
    std::vector<uint8_t> page(static_cast<size_t>(format_->pageSize));
    const PageView view(page);
    for (int32_t pageNumber : group->pages) {
        file.WillRead(PageOffset(pageNumber), format_->pageSize);
    }
    for (int32_t pageNumber : group->pages) {
        // The grouping walks the file in 4096-byte steps; larger pages start only at
        // multiples of their own size.
        const int64_t offset = PageOffset(pageNumber);
        if (offset % format_->pageSize != 0 ||
            file.ReadAt(offset, page) != static_cast<int64_t>(page.size()) ||
            view.i32(kObjectIdOffset) != objectId) {
            continue;
        }
        index.AddPage(view, offset, *format_);
    }
    return index;
}

std::optional<LongValue> LongValueStore::Read(EdbFile& file, PageGroupList& groups,
                                              int32_t objectId, uint32_t id) {
    const LongValueIndex& index = IndexOf(file, groups, objectId);
    return AssembleLongValue(index, id, [&file](int64_t offset, std::span<uint8_t> bytes) {
        return file.ReadAt(offset, bytes) == static_cast<int64_t>(bytes.size());
    });
}

void LongValueStore::Clear() {
    format_.reset();
    indexes_.clear();
}

}  // namespace velmor
