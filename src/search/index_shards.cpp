#include "search/index_shards.h"

#include "search/search_document.h"

namespace velmor {

namespace {

// Batches of items waiting for the threads: bounds the bodies held in memory.
constexpr size_t kMaxWaitingBatches = 8;

}  // namespace

IndexShards::IndexShards(const std::filesystem::path& directory, unsigned count,
                         const std::string& stemLanguage)
    : stemLanguage_(stemLanguage) {
    for (unsigned i = 0; i < std::max(1U, count); ++i) {
        shards_.push_back(std::make_unique<IndexParts>(
            directory.empty() ? directory : directory / IndexShardName(i)));
    }
    for (const auto& shard : shards_) {
        threads_.emplace_back([this, &shard] { Write(*shard); });
    }
}

IndexShards::~IndexShards() {
    {
        std::lock_guard lock(mutex_);
        waiting_.clear();
    }
    Stop();
}

void IndexShards::Stop() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) {
        if (thread.joinable()) {
            thread.join();
        }
    }
}

void IndexShards::Add(std::vector<SearchFields> items) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < kMaxWaitingBatches; });
    waiting_.push_back(std::move(items));
    lock.unlock();
    changed_.notify_all();
}

void IndexShards::Finish() {
    Stop();
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

void IndexShards::Write(IndexParts& shard) {
    SearchDocumentMaker documents(stemLanguage_);
    for (;;) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !waiting_.empty() || finished_; });
        if (waiting_.empty()) {
            return;
        }
        std::vector<SearchFields> items = std::move(waiting_.front());
        waiting_.pop_front();
        const bool failed = failure_ != nullptr;
        lock.unlock();
        changed_.notify_all();
        if (failed) {
            continue;  // Drained, so that the reader never waits for a thread that stopped.
        }
        try {
            for (const SearchFields& fields : items) {
                shard.Add(documents.Make(fields));
            }
        } catch (...) {
            std::lock_guard failedLock(mutex_);
            failure_ = std::current_exception();
        }
    }
}

void IndexShards::MergeInto(const std::filesystem::path& target, const std::string& key,
                            const std::string& value) {
    // A directory that cannot be made fails as a shard's writing.
    std::error_code ignored;
    std::filesystem::create_directories(target, ignored);
    std::vector<std::thread> compacting;
    std::vector<std::exception_ptr> failures(shards_.size());
    for (size_t i = 0; i < shards_.size(); ++i) {
        const std::string name = IndexShardName(static_cast<unsigned>(i));
        compacting.emplace_back([&, i, name] {
            try {
                shards_[i]->MergeInto(target / name, key, value);
            } catch (...) {
                failures[i] = std::current_exception();
            }
        });
    }
    for (std::thread& thread : compacting) {
        thread.join();
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

Xapian::Database IndexShards::InMemory() const {
    Xapian::Database all;
    for (const auto& shard : shards_) {
        all.add_database(shard->InMemory());
    }
    return all;
}

}  // namespace velmor
