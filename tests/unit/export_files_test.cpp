#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "export/atomic_file.h"
#include "export/safe_file_name.h"
#include "export_test_store.h"

namespace velmor {
namespace {

using test::April;
using test::ExportTestStore;
using test::FileNames;
using test::Mail;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(SafeFileNameTest, FolderNamesBecomeSafeComponentsOfAtMost200Bytes) {
    EXPECT_EQ(SafeFileName(u"Inbox"), "Inbox");
    EXPECT_EQ(SafeFileName(u"a/b\\c"), "a_b\\c");
    EXPECT_EQ(SafeFileName(std::u16string(u"x\0y\ty\x7f", 6)), "x_y_y_");
    EXPECT_EQ(SafeFileName(u"."), "_");
    EXPECT_EQ(SafeFileName(u".."), "__");
    EXPECT_EQ(SafeFileName(u""), "_");
    EXPECT_EQ(SafeFileName(u"...hidden"), "...hidden");
    // 150 two-byte characters: cut at a character boundary below 200 bytes.
    const std::string cut = SafeFileName(std::u16string(150, u'\u00e9'));
    EXPECT_EQ(cut.size(), 200u);
    EXPECT_EQ(SafeFileName(u"a" + std::u16string(150, u'\u00e9')).size(), 199u);
}

TEST(AtomicFileTest, TakenNamesGetTheNextFreeNumberAndNothingIsOverwritten) {
    test::TempDir dir;
    std::ofstream(dir / "00001.eml") << "old";
    std::ofstream(dir / "00001 (2).eml") << "older";
    AtomicFile file(dir.path(), nullptr);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write("new"));
    EXPECT_FALSE(std::filesystem::exists(dir / "00001 (3).eml")) << "no name before Commit";
    const auto path = file.Commit("00001.eml");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->filename(), "00001 (3).eml");
    EXPECT_EQ(ReadFile(*path), "new");
    EXPECT_EQ(ReadFile(dir / "00001.eml"), "old");
    EXPECT_EQ(FileNames(dir.path()),
              (std::vector<std::string>{"00001 (2).eml", "00001 (3).eml", "00001.eml"}));
    EXPECT_EQ(NumberedName("folder.mbox", 2), "folder (2).mbox");
    EXPECT_EQ(NumberedName(".hidden", 2), ".hidden (2)");

    {
        AtomicFile dropped(dir.path(), nullptr);
        ASSERT_TRUE(dropped.Open());
        ASSERT_TRUE(dropped.Write("partial"));
    }
    EXPECT_EQ(FileNames(dir.path()).size(), 3u) << "an unfinished file leaves nothing";
    struct stat info {};
    ASSERT_EQ(::stat(path->c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(AtomicFileTest, TheOpenDatabaseIsNeverATargetAndFailuresNameTheFile) {
    test::TempDir dir;
    std::ofstream(dir / "store.edb") << "database bytes";
    EdbFile database;
    ASSERT_EQ(database.OpenDatabase(dir / "store.edb"), 0);
    std::filesystem::create_symlink(dir / "store.edb", dir / "link.csv");
    AtomicFile file(dir.path(), &database);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write("rows"));
    EXPECT_EQ(file.Commit("link.csv")->filename(), "link (2).csv");
    EXPECT_EQ(ReadFile(dir / "store.edb"), "database bytes");

    AtomicFile missing(dir / "gone", nullptr);
    EXPECT_FALSE(missing.Open());
    EXPECT_NE(missing.error().find((dir / "gone").string()), std::string::npos) << missing.error();
    EXPECT_NE(missing.error().find("No such file"), std::string::npos) << missing.error();
}

class ExportLayoutTest : public testing::Test {
protected:
    ExportTestStore store_;
};

TEST_F(ExportLayoutTest, FoldersBecomeUniqueSafeDirectoriesBelowTheMailboxRoot) {
    const auto inbox = store_.AddFolder("Inbox");
    store_.builder.AddItem(inbox, Mail("Carol Hughes", "First", April(10, 9, 0)));
    const auto nested = store_.AddFolder(inbox, "a/b", "IPF.Note");
    store_.builder.AddItem(nested, Mail("Carol Hughes", "Nested", April(10, 9, 1)));
    store_.AddFolder("..");
    store_.AddFolder("x/y");
    store_.AddFolder("x_y");
    // A directory of an earlier export keeps its files: the new one gets the next number.
    std::filesystem::create_directories(store_.out / ExportTestStore::kTop / "Inbox");
    std::ofstream(store_.out / ExportTestStore::kTop / "Inbox" / "00001.eml") << "earlier";

    auto& browsed = store_.Browsed();
    MailboxExport exporter(browsed.context(), browsed.tree, store_.out.path(), {});
    std::string error;
    ASSERT_TRUE(exporter.Prepare(error)) << error;
    const auto nestedResult = exporter.Export(store_.ItemOf("Inbox\\a/b"));
    const auto inboxResult = exporter.Export(store_.ItemOf("Inbox"));
    const auto dotsResult = exporter.Export(store_.ItemOf(".."));
    const std::filesystem::path earlier = store_.out / ExportTestStore::kTop;
    const std::filesystem::path top = store_.out / (std::string(ExportTestStore::kTop) + " (2)");
    EXPECT_EQ(nestedResult.directory, top / "Inbox" / "a_b");
    EXPECT_EQ(inboxResult.directory, top / "Inbox") << "the parent made for the child";
    EXPECT_EQ(dotsResult.directory, top / "__");
    EXPECT_EQ(FileNames(earlier / "Inbox"), std::vector<std::string>{"00001.eml"});
    EXPECT_EQ(FileNames(top / "Inbox"),
              (std::vector<std::string>{"00001.eml", "a_b", "items.csv"}));
    EXPECT_EQ(FileNames(top / "Inbox" / "a_b"),
              (std::vector<std::string>{"00001.eml", "items.csv"}));
    EXPECT_EQ(FileNames(top / "__"), std::vector<std::string>{"items.csv"})
        << "an empty folder still gets its list";
    EXPECT_EQ(exporter.Export(store_.ItemOf("x/y")).directory, top / "x_y");
    EXPECT_EQ(exporter.Export(store_.ItemOf("x_y")).directory, top / "x_y (2)")
        << "names that become equal are made unique among siblings";
}

TEST_F(ExportLayoutTest, TargetsInTheWayVanishedOrTheDatabaseAreRefused) {
    store_.AddFolder("Inbox");
    auto& browsed = store_.Browsed();
    std::string error;
    std::ofstream(store_.out / "file") << "x";
    MailboxExport onFile(browsed.context(), browsed.tree, store_.out / "file" / "sub", {});
    EXPECT_FALSE(onFile.Prepare(error));
    EXPECT_NE(error.find("cannot create the directory"), std::string::npos) << error;
    // A file system that takes no new directories, whoever asks.
    MailboxExport onProc(browsed.context(), browsed.tree, "/proc/velmor-export", {});
    EXPECT_FALSE(onProc.Prepare(error));
    EXPECT_NE(error.find("cannot create the directory /proc/velmor-export"), std::string::npos)
        << error;

    std::filesystem::create_symlink(browsed.databasePath(), store_.out / "store-link");
    MailboxExport onDatabase(browsed.context(), browsed.tree, store_.out / "store-link", {});
    EXPECT_FALSE(onDatabase.Prepare(error));
    EXPECT_NE(error.find("is the open database"), std::string::npos) << error;

    // A directory that disappears after the check fails the folder, naming what and why.
    const auto vanishing = store_.out / "vanishing";
    MailboxExport exporter(browsed.context(), browsed.tree, vanishing, {});
    ASSERT_TRUE(exporter.Prepare(error)) << error;
    std::filesystem::remove(vanishing);
    const auto result = exporter.Export(store_.ItemOf("Inbox"));
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find(vanishing.string()), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("No such file or directory"), std::string::npos) << result.error;
}

TEST_F(ExportLayoutTest, ReadOnlyDirectoriesAreRefused) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only directories";
    }
    store_.AddFolder("Inbox");
    auto& browsed = store_.Browsed();
    std::string error;
    const auto readOnly = store_.out / "read-only";
    std::filesystem::create_directory(readOnly);
    ::chmod(readOnly.c_str(), 0555);
    MailboxExport denied(browsed.context(), browsed.tree, readOnly, {});
    EXPECT_FALSE(denied.Prepare(error));
    EXPECT_NE(error.find("cannot write to " + readOnly.string()), std::string::npos) << error;
    ::chmod(readOnly.c_str(), 0755);
}

}  // namespace
}  // namespace velmor
