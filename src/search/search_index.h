#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browse/folder_tree.h"
#include "discovery/processing_context.h"
#include "search/search_match.h"
#include "search/search_terms.h"
#include "streaming/recovered_messages.h"

// Xapian stays out of this header: its keywords clash with Qt's, whose windows include it.
namespace Xapian {
class Database;
}

namespace velmor {

class IndexShards;

struct SearchIndexOptions {
    // Keep the index in memory only, never in the cache.
    bool noCache = false;
    // The cache's directory; empty: DefaultSearchCacheDirectory().
    std::filesystem::path cacheDirectory;
    // The Xapian stemmer's language ("none" stems nothing).
    std::string stemLanguage = kDefaultStemLanguage;
    // The database's streaming file, when its messages matched mails of the store: what it
    // is on disk is part of the cache key.
    std::filesystem::path streamingFile;
    // Its messages, asked for only when the index is built (a cached index needs no carve): a
    // matched mail is indexed with its original's body and attachment names, as the message
    // window shows them. They must outlive the build.
    std::function<RecoveredMessages*()> recovered;
};

// The full-text index of one mailbox: taken from the user's cache while the store is as it was
// when the index was built, else built from every item of the mailbox's folder tree and kept
// in the cache, or in memory when the cache cannot be written.
class SearchIndex {
public:
    enum class Origin { None, Cache, Built, BuiltInMemory };

    SearchIndex();
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // Opens or builds the index of the mailbox whose tree is given, the tree's root labelled
    // mailbox, of the database file at database. False when a stop ended the build.
    bool Open(ProcessingContext& context, const FolderTree& tree,
              const std::filesystem::path& database, const std::u16string& mailbox,
              const SearchIndexOptions& options = {});

    // Opens or builds the index of the streaming file's entry: its messages, those the mails
    // of the store at database did not match. The streaming file goes into the key through
    // options.streamingFile, as for a mailbox. False when a stop ended the build.
    bool OpenStreamingEntry(ProcessingContext& context, RecoveredMessages& messages,
                            const std::filesystem::path& database,
                            const SearchIndexOptions& options);

    // The best matches of the query text, most relevant first, at most limit of them (0: all)
    // after the skipped best ones; none with a reason in error when the text cannot be read.
    std::vector<SearchMatch> Find(const std::string& query, size_t limit, std::string& error,
                                  size_t skipped = 0) const;

    // Whether the index is open for this mailbox of this database.
    bool IsOpenFor(const std::filesystem::path& database, const std::u16string& mailbox) const {
        return origin_ != Origin::None && database == database_ && mailbox == mailbox_;
    }
    Origin origin() const { return origin_; }
    // The index's directory in the cache; empty when it is in memory.
    const std::filesystem::path& directory() const { return directory_; }
    // Why the cache was not used although it was asked for, in one line; empty when it was
    // or could not be made.
    const std::string& warning() const { return warning_; }
    unsigned documents() const;

private:
    // Writes the documents into the shards; false when a stop ended it.
    using Build = std::function<bool(IndexShards&)>;
    bool OpenOrBuild(ProcessingContext& context, const std::filesystem::path& database,
                     const std::u16string& mailbox, const SearchIndexOptions& options,
                     const Build& build);
    bool BuildInMemory(const ProcessingContext& context, const Build& build);

    std::unique_ptr<Xapian::Database> index_;
    std::string stemLanguage_ = kDefaultStemLanguage;
    std::filesystem::path directory_;
    std::string warning_;
    std::filesystem::path database_;
    std::u16string mailbox_;
    Origin origin_ = Origin::None;
};

}  // namespace velmor
