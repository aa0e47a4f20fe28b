#include "search/search_index.h"

#include <unistd.h>

#include <algorithm>

#include <xapian.h>

#include "search/index_builder.h"
#include "search/index_cache.h"
#include "search/index_shards.h"
#include "search/search_query.h"

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

// The cached index when it exists and was built for this key.
std::optional<Xapian::Database> OpenCached(const IndexCacheEntry& entry) {
    try {
        Xapian::Database cached(entry.directory.string());
        if (cached.get_metadata(kKeyMetadata) == entry.key) {
            return cached;
        }
    } catch (const Xapian::Error&) {
        // Missing or unreadable: built again.
    }
    return std::nullopt;
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
    stemLanguage_ = options.stemLanguage;
    directory_.clear();
    origin_ = Origin::None;
    database_ = database;
    mailbox_ = mailbox;
    const std::filesystem::path cacheDirectory =
        options.cacheDirectory.empty() ? DefaultSearchCacheDirectory() : options.cacheDirectory;
    const auto entry = options.noCache ? std::nullopt
                                       : FindIndexCacheEntry(cacheDirectory, database, mailbox,
                                                             stemLanguage_, options.streamingFile);
    if (!entry) {
        return BuildInMemory(context, tree, options.attachmentNames);
    }
    if (auto cached = OpenCached(*entry)) {
        *index_ = std::move(*cached);
        directory_ = entry->directory;
        origin_ = Origin::Cache;
        return true;
    }
    // Built beside its final place and renamed there whole, so that a stopped or failed build
    // leaves nothing another run would take for an index.
    const std::filesystem::path building =
        entry->directory.parent_path() /
        (".build-" + std::to_string(::getpid()) + "-" + entry->directory.filename().string());
    std::error_code error;
    bool complete = false;
    try {
        IndexShards shards(building / "parts", ShardCount(context), stemLanguage_);
        complete = BuildSearchIndex(context, tree, shards, options.attachmentNames);
        if (complete) {
            shards.Finish();
            shards.MergeInto(building / "index", kKeyMetadata, entry->key);
        }
    } catch (const Xapian::Error&) {
        std::filesystem::remove_all(building, error);
        return BuildInMemory(context, tree, options.attachmentNames);
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
        return BuildInMemory(context, tree, options.attachmentNames);
    }
    *index_ = std::move(*cached);
    directory_ = entry->directory;
    origin_ = Origin::Built;
    return true;
}

bool SearchIndex::BuildInMemory(ProcessingContext& context, const FolderTree& tree,
                                const AttachmentNamesOf& attachmentNames) {
    IndexShards shards(std::filesystem::path(), ShardCount(context), stemLanguage_);
    if (!BuildSearchIndex(context, tree, shards, attachmentNames)) {
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
