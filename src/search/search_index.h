#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "browse/folder_tree.h"
#include "discovery/processing_context.h"
#include "search/attachment_names_of.h"
#include "search/search_match.h"
#include "search/search_terms.h"

// Xapian stays out of this header: its keywords clash with Qt's, whose windows include it.
namespace Xapian {
class Database;
}

namespace velmor {

struct SearchIndexOptions {
    // Keep the index in memory only, never in the cache.
    bool noCache = false;
    // The cache's directory; empty: DefaultSearchCacheDirectory().
    std::filesystem::path cacheDirectory;
    // The Xapian stemmer's language ("none" stems nothing).
    std::string stemLanguage = kDefaultStemLanguage;
    // The database's streaming file, when the originals of its mails give their attachments'
    // names: what it is on disk is part of the cache key.
    std::filesystem::path streamingFile;
    AttachmentNamesOf attachmentNames;
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
    unsigned documents() const;

private:
    bool BuildInMemory(ProcessingContext& context, const FolderTree& tree,
                       const AttachmentNamesOf& attachmentNames);

    std::unique_ptr<Xapian::Database> index_;
    std::string stemLanguage_ = kDefaultStemLanguage;
    std::filesystem::path directory_;
    std::filesystem::path database_;
    std::u16string mailbox_;
    Origin origin_ = Origin::None;
};

}  // namespace velmor
