#include "search/search_index.h"

#include <unistd.h>

#include <algorithm>

#include <xapian.h>

#include "search/index_builder.h"
#include "search/index_cache.h"
#include "search/index_shards.h"
#include "search/private_cache_directory.h"
#include "search/search_query.h"
#include "search/streaming_entry_index.h"

namespace velmor {

namespace {

// The metadata entry that holds the cache key the index was built for.
constexpr char kKeyMetadata[] = "velmor-key";

// Shards written at once, one per core up to this many: each holds a part's documents in
// memory while it is written.
constexpr unsigned kMaxShards = 2;

unsigned ShardCount(const ProcessingContext& context) {
    return std::min(context.threadCount(), kMaxShards);
}

// Seconds a query's matching may take; after them, the best matches found so far are kept.
constexpr double kMatchTimeLimit = 10.0;

// The cached index when it exists and each of its shards was built for this key. Each shard
// is opened as what the builder writes: a file in the cache never names another database
// or a program to run.
std::optional<Xapian::Database> OpenCached(const IndexCacheEntry& entry) {
    if (!IsPrivateDirectory(entry.directory)) {
        return std::nullopt;
    }
    try {
        Xapian::Database cached;
        bool any = false;
        for (unsigned i = 0; IsPrivateDirectory(entry.directory / IndexShardName(i)); ++i) {
            Xapian::Database shard((entry.directory / IndexShardName(i)).string(),
                                   Xapian::DB_BACKEND_GLASS);
            if (shard.get_metadata(kKeyMetadata) != entry.key) {
                return std::nullopt;
            }
            cached.add_database(shard);
            any = true;
        }
        if (any) {
            return cached;
        }
    } catch (const Xapian::Error&) {
        // Missing or unreadable: built again.
    }
    return std::nullopt;
}

RecoveredMessages* Recovered(const SearchIndexOptions& options) {
    return options.recovered ? options.recovered() : nullptr;
}

std::string NotPrivateWarning(const std::filesystem::path& cacheDirectory) {
    return "the search cache " + cacheDirectory.string() +
           " is not private (a link, another user's, or writable by others): the index is "
           "kept in memory";
}

}  // namespace

SearchIndex::SearchIndex() : index_(std::make_unique<Xapian::Database>()) {}

SearchIndex::~SearchIndex() = default;

unsigned SearchIndex::documents() const {
    return index_->get_doccount();
}

bool SearchIndex::Open(ProcessingContext& context, const FolderTree& tree,
                       const std::filesystem::path& database, const std::u16string& mailbox,
                       const SearchIndexOptions& options) {
    return OpenOrBuild(context, database, mailbox, options, [&](IndexShards& shards) {
        return BuildSearchIndex(context, tree, shards, Recovered(options));
    });
}

bool SearchIndex::OpenStreamingEntry(ProcessingContext& context, RecoveredMessages& messages,
                                     const std::filesystem::path& database,
                                     const SearchIndexOptions& options) {
    return OpenOrBuild(context, database, kStreamingEntryName, options, [&](IndexShards& shards) {
        return BuildStreamingEntryIndex(context, messages, shards);
    });
}

bool SearchIndex::OpenOrBuild(ProcessingContext& context, const std::filesystem::path& database,
                              const std::u16string& mailbox, const SearchIndexOptions& options,
                              const Build& build) {
    stemLanguage_ = options.stemLanguage;
    directory_.clear();
    warning_.clear();
    origin_ = Origin::None;
    database_ = database;
    mailbox_ = mailbox;
    const std::filesystem::path cacheDirectory =
        options.cacheDirectory.empty() ? DefaultSearchCacheDirectory() : options.cacheDirectory;
    std::optional<IndexCacheEntry> entry;
    if (!options.noCache) {
        const CacheDirectoryAccess access = PrepareCacheDirectory(cacheDirectory);
        if (access == CacheDirectoryAccess::NotPrivate) {
            warning_ = NotPrivateWarning(cacheDirectory);
        } else if (access == CacheDirectoryAccess::Private) {
            entry = FindIndexCacheEntry(cacheDirectory, database, mailbox, stemLanguage_,
                                        options.streamingFile);
        }
    }
    if (!entry) {
        return BuildInMemory(context, build);
    }
    if (auto cached = OpenCached(*entry)) {
        *index_ = std::move(*cached);
        directory_ = entry->directory;
        origin_ = Origin::Cache;
        return true;
    }
    // Built beside its final place, in a directory only the user can enter, and renamed there
    // whole, so that a stopped or failed build leaves nothing another run would take for an
    // index.
    const std::filesystem::path building =
        entry->directory.parent_path() /
        (".build-" + std::to_string(::getpid()) + "-" + entry->directory.filename().string());
    std::error_code error;
    std::filesystem::remove_all(building, error);
    if (!MakePrivateDirectory(building)) {
        return BuildInMemory(context, build);
    }
    bool complete = false;
    try {
        IndexShards shards(building / "parts", ShardCount(context), stemLanguage_);
        complete = build(shards);
        if (complete) {
            shards.Finish();
            shards.MergeInto(building / "index", kKeyMetadata, entry->key);
            MakeTreePrivate(building / "index");
        }
    } catch (const Xapian::Error&) {
        std::filesystem::remove_all(building, error);
        return BuildInMemory(context, build);
    }
    if (!complete) {
        std::filesystem::remove_all(building, error);
        return false;
    }
    std::filesystem::remove_all(entry->directory, error);
    std::filesystem::rename(building / "index", entry->directory, error);
    std::filesystem::remove_all(building, error);
    RemoveStaleIndexes(*entry);
    auto cached = OpenCached(*entry);
    if (!cached) {
        return BuildInMemory(context, build);
    }
    *index_ = std::move(*cached);
    directory_ = entry->directory;
    origin_ = Origin::Built;
    return true;
}

bool SearchIndex::BuildInMemory(const ProcessingContext& context, const Build& build) {
    IndexShards shards(std::filesystem::path(), ShardCount(context), stemLanguage_);
    if (!build(shards)) {
        return false;
    }
    shards.Finish();
    *index_ = shards.InMemory();
    origin_ = Origin::BuiltInMemory;
    return true;
}

std::vector<SearchMatch> SearchIndex::Find(const std::string& query, size_t limit,
                                           std::string& error, size_t skipped) const {
    std::vector<SearchMatch> matches;
    try {
        Xapian::Enquire enquire(*index_);
        enquire.set_query(ParseSearchQuery(*index_, query, stemLanguage_));
        enquire.set_time_limit(kMatchTimeLimit);
        const Xapian::doccount all = index_->get_doccount();
        const Xapian::doccount wanted =
            limit == 0 || limit > all ? all : static_cast<Xapian::doccount>(limit);
        const Xapian::MSet found = enquire.get_mset(static_cast<Xapian::doccount>(skipped), wanted);
        for (auto match = found.begin(); match != found.end(); ++match) {
            SearchMatch item = DecodeSearchMatch(match.get_document().get_data());
            item.relevance = match.get_percent();
            matches.push_back(std::move(item));
        }
    } catch (const Xapian::Error& failure) {
        error = failure.get_msg();
        matches.clear();
    }
    return matches;
}

}  // namespace velmor
