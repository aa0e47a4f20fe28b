#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "export_test_store.h"
#include "search/index_builder.h"
#include "search/search_index.h"
#include "search/search_worker.h"

namespace velmor {
namespace {

using test::ExportTestStore;

class SearchIndexTest : public testing::Test {
protected:
    SearchIndexTest() {
        for (const char* name : {"Inbox", "Archive", "Projects"}) {
            const auto folder = store_.AddFolder(name);
            store_.builder.AddItem(folder, test::Mail("Carol Hughes", name, test::April(2, 9, 0)));
        }
    }
    bool Open(SearchIndex& index) { return OpenIn(index, cache_.path()); }
    bool OpenIn(SearchIndex& index, const std::filesystem::path& cacheDirectory) {
        test::BrowsedStore& browsed = store_.Browsed();
        SearchIndexOptions options;
        options.cacheDirectory = cacheDirectory;
        return index.Open(browsed.context(), browsed.tree, browsed.databasePath(),
                          browsed.rootLabel(), options);
    }
    std::vector<std::filesystem::path> CacheEntries() const {
        std::vector<std::filesystem::path> entries;
        for (const auto& entry : std::filesystem::directory_iterator(cache_.path())) {
            entries.push_back(entry.path());
        }
        return entries;
    }

    ExportTestStore store_;
    test::TempDir cache_;
};

TEST_F(SearchIndexTest, TheBarCountsFoldersAndAStopLeavesNoIndexBehind) {
    test::BrowsedStore& browsed = store_.Browsed();
    browsed.sink.onCall = [&](const std::string& call) {
        if (call == "SetItemProgressPosition 2") {
            browsed.stop().request();
        }
    };
    SearchIndex stopped;
    EXPECT_FALSE(Open(stopped));
    EXPECT_TRUE(CacheEntries().empty()) << "a partial index is never kept";
    const auto& calls = browsed.sink.calls;
    EXPECT_NE(
        std::find(calls.begin(), calls.end(), "SetItemStatus " + Utf16ToUtf8(kIndexingStatus)),
        calls.end());
    // The root, the top folder and its three folders.
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetItemProgressRange 0 5"), calls.end());
    EXPECT_EQ(calls.back(), "HideItemStatus");

    browsed.sink.onCall = nullptr;
    browsed.stop().clear();
    SearchIndex built;
    ASSERT_TRUE(Open(built));
    EXPECT_EQ(built.origin(), SearchIndex::Origin::Built);
    EXPECT_EQ(built.documents(), 3U);
    EXPECT_EQ(CacheEntries(), std::vector<std::filesystem::path>{built.directory()});
    SearchIndex again;
    ASSERT_TRUE(Open(again));
    EXPECT_EQ(again.origin(), SearchIndex::Origin::Cache);
    std::string error;
    const auto matches = again.Find("folder:projects", 10, error);
    ASSERT_EQ(matches.size(), 1U) << error;
    EXPECT_EQ(matches.front().subject, u"Projects");
    EXPECT_EQ(matches.front().rowNumber, 1);
}

mode_t ModeOf(const std::filesystem::path& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

// An index holds the mailbox's words, senders and subjects: only its user reads it, whatever
// the umask, and no file put into the cache is taken for a database or a program to run.
TEST_F(SearchIndexTest, TheCacheIsPrivateAndNothingPlantedInItIsRun) {
    const std::filesystem::path cache = cache_.path() / "home" / "velmor";
    const mode_t previousMask = ::umask(0);
    SearchIndex built;
    const bool opened = OpenIn(built, cache);
    ::umask(previousMask);
    ASSERT_TRUE(opened);
    ASSERT_EQ(built.origin(), SearchIndex::Origin::Built);
    EXPECT_EQ(ModeOf(cache_.path() / "home"), 0700U);
    EXPECT_EQ(ModeOf(cache), 0700U);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(cache)) {
        EXPECT_EQ(ModeOf(entry.path()), entry.is_directory() ? 0700U : 0600U) << entry.path();
    }

    // A stub file in the index's directory would name a program that Xapian starts.
    const std::filesystem::path ran = cache_.path() / "ran";
    std::ofstream(built.directory() / "XAPIANDB") << "remote :touch " << ran.string() << "\n";
    SearchIndex again;
    ASSERT_TRUE(OpenIn(again, cache));
    EXPECT_EQ(again.origin(), SearchIndex::Origin::Cache);
    EXPECT_FALSE(std::filesystem::exists(ran));
    std::string error;
    EXPECT_EQ(again.Find("folder:archive", 10, error).size(), 1U) << error;
}

TEST_F(SearchIndexTest, ACacheOthersMayWriteOrALinkIsNeverUsed) {
    const std::filesystem::path shared = cache_.path() / "shared";
    std::filesystem::create_directory(shared);
    std::filesystem::permissions(shared, std::filesystem::perms::all);
    const std::filesystem::path own = cache_.path() / "own";
    std::filesystem::create_directory(own);
    std::filesystem::permissions(own, std::filesystem::perms::owner_all);
    const std::filesystem::path link = cache_.path() / "link";
    std::filesystem::create_directory_symlink(own, link);
    for (const std::filesystem::path& cache : {shared, link}) {
        SearchIndex index;
        ASSERT_TRUE(OpenIn(index, cache));
        EXPECT_EQ(index.origin(), SearchIndex::Origin::BuiltInMemory) << cache;
        EXPECT_NE(index.warning().find(cache.string()), std::string::npos) << index.warning();
        EXPECT_EQ(index.warning().find('\n'), std::string::npos);
        EXPECT_EQ(index.documents(), 3U);
    }
    EXPECT_TRUE(std::filesystem::is_empty(shared));
    EXPECT_TRUE(std::filesystem::is_empty(own));
    EXPECT_EQ(ModeOf(shared), 0777U) << "another's directory is left as it is";
}

TEST(SearchWorkerTest, ListsTheBestMatchesFirstThenTheRestBelowThemInOrder) {
    constexpr int kMails = 150;
    ExportTestStore store;
    const auto folder = store.AddFolder("Notes");
    for (int i = 0; i < kMails; ++i) {
        store.builder.AddItem(folder, test::Mail("Carol Hughes", "Note " + std::to_string(i),
                                                 test::April(2, 9, i % 60)));
    }
    test::BrowsedStore& browsed = store.Browsed();
    test::TempDir cache;
    SearchIndex index;
    BrowseJobState state;
    const auto search = [&](size_t limit) {
        SearchRequest request;
        request.query = "from:hughes";
        request.database = browsed.databasePath();
        request.mailbox = browsed.rootLabel();
        request.options.cacheDirectory = cache.path();
        request.limit = limit;
        test::RecordingItemList list;
        std::vector<SearchMatch> found;
        SearchWorker(browsed.context(), browsed.tree, list, state, index, request,
                     [&](std::vector<SearchMatch> matches) { found = std::move(matches); });
        EXPECT_EQ(list.rows().size(), found.size());
        for (size_t i = 0; i < std::min(list.rows().size(), found.size()); ++i) {
            EXPECT_EQ(list.rows()[i].cells[2], found[i].subject) << "row " << i;
        }
        return found.size();
    };
    EXPECT_EQ(search(0), size_t{kMails});
    EXPECT_EQ(search(120), 120U);
    EXPECT_EQ(search(100), 100U);
    EXPECT_EQ(search(7), 7U);
}

}  // namespace
}  // namespace velmor
