#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <xapian.h>

namespace velmor {

// Where the builder's documents go. On disk, every few thousand documents make a part of
// their own, and the parts are merged into one compact index at the end: adding to one large
// index would rewrite its posting lists at every flush, which is slow and leaves the index
// several times larger than the text. In memory, one database takes them all.
class IndexParts {
public:
    // Parts below directory; an empty directory keeps everything in memory.
    explicit IndexParts(std::filesystem::path directory);

    void Add(const Xapian::Document& document);

    // Merges the parts into a compact index at target, with the metadata entry given.
    void MergeInto(const std::filesystem::path& target, const std::string& key,
                   const std::string& value);
    // The in-memory database.
    Xapian::Database InMemory() const { return current_; }

private:
    void StartPart();

    std::filesystem::path directory_;
    std::vector<std::filesystem::path> parts_;
    Xapian::WritableDatabase current_;
    Xapian::doccount inPart_ = 0;
};

}  // namespace velmor
