#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <xapian.h>

#include "search/index_parts.h"
#include "search/search_fields.h"

namespace velmor {

// The directory of shard number i, below the index's directory.
inline std::string IndexShardName(unsigned i) {
    return "shard-" + std::to_string(i);
}

// The index built on several threads: each turns items into documents and writes them to a
// shard of its own, while the caller reads the store. The shards are searched together as one
// database, never merged into one.
class IndexShards {
public:
    // count shards, below directory as IndexParts keep them; an empty directory keeps
    // everything in memory.
    IndexShards(const std::filesystem::path& directory, unsigned count,
                const std::string& stemLanguage);
    // Waits for the threads; documents not yet written are dropped.
    ~IndexShards();
    IndexShards(const IndexShards&) = delete;
    IndexShards& operator=(const IndexShards&) = delete;

    // Hands items to the threads; waits while enough are waiting already.
    void Add(std::vector<SearchFields> items);
    // Waits until every item is written; throws what a thread's writing threw.
    void Finish();

    // After Finish: each shard compacted at target/IndexShardName(i), each with the metadata
    // entry; they are opened one by one and searched as one database.
    void MergeInto(const std::filesystem::path& target, const std::string& key,
                   const std::string& value);
    // After Finish: the shards in memory as one database.
    Xapian::Database InMemory() const;

private:
    void Write(IndexParts& shard);
    void Stop();

    std::string stemLanguage_;
    std::vector<std::unique_ptr<IndexParts>> shards_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<SearchFields>> waiting_;
    bool finished_ = false;
    std::exception_ptr failure_;
};

}  // namespace velmor
