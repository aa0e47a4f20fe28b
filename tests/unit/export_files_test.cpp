#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "export/atomic_file.h"
#include "export/attachment_file_name.h"
#include "export/file_naming_calls.h"
#include "export/safe_file_name.h"
#include "export_test_store.h"
#include "file_contents.h"

namespace velmor {
namespace {

using test::April;
using test::ExportTestStore;
using test::FileNames;
using test::Mail;

TEST(SafeFileNameTest, FolderNamesBecomeSafeComponentsOfAtMost200Bytes) {
    EXPECT_EQ(SafeFileName(u"Inbox"), "Inbox");
    EXPECT_EQ(SafeFileName(u"a/b\\c"), "a_b_c");
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

// Names that FAT, exFAT, NTFS or a Windows share would refuse or change.
TEST(SafeFileNameTest, NamesAreSafeOnWindowsFileSystemsToo) {
    EXPECT_EQ(SafeFileName(u"Re: Budget"), "Re_ Budget");
    EXPECT_EQ(SafeFileName(u"Q1/Q2"), "Q1_Q2");
    EXPECT_EQ(SafeFileName(u"What?"), "What_");
    EXPECT_EQ(SafeFileName(u"<a> \"b\" c|d*e"), "_a_ _b_ c_d_e");
    EXPECT_EQ(SafeFileName(u"Notes. "), "Notes__");
    EXPECT_EQ(SafeFileName(u"..."), "___");
    EXPECT_EQ(SafeFileName(u"CON"), "CON_");
    EXPECT_EQ(SafeFileName(u"nul.txt"), "nul_.txt");
    EXPECT_EQ(SafeFileName(u"Com7"), "Com7_");
    EXPECT_EQ(SafeFileName(u"LPT9.tar.gz"), "LPT9_.tar.gz");
    EXPECT_EQ(SafeFileName(u"COM0"), "COM0");
    EXPECT_EQ(SafeFileName(u"CONSOLE"), "CONSOLE");
    EXPECT_EQ(SafeFileName(u"AUX.pst", 200), "AUX_.pst");
    // A cut that ends in a blank leaves no trailing blank.
    EXPECT_EQ(SafeFileName(u"abc def", 4), "abc_");
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
    EXPECT_EQ(test::ReadFile(*path), "new");
    EXPECT_EQ(test::ReadFile(dir / "00001.eml"), "old");
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

TEST(AtomicFileTest, ANameChosenByTheUserIsNeverNumberedAndALinkCountsAsTaken) {
    test::TempDir dir;
    AtomicFile file(dir.path(), nullptr);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write("attachment"));
    // The name is taken between the check and the write, by a link that leads nowhere.
    std::filesystem::create_symlink(dir / "nowhere", dir / "out.bin");
    EXPECT_FALSE(file.CommitExactly("out.bin"));
    EXPECT_NE(file.error().find("out.bin"), std::string::npos) << file.error();
    EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"out.bin"});
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));

    AtomicFile free(dir.path(), nullptr);
    ASSERT_TRUE(free.Open());
    ASSERT_TRUE(free.Write("attachment"));
    EXPECT_EQ(free.CommitExactly("free.bin"), dir / "free.bin");
    EXPECT_EQ(test::ReadFile(dir / "free.bin"), "attachment");
}

TEST(AttachmentSaveNameTest, AttachmentsAreSavedUnderSafeVisibleNames) {
    EXPECT_EQ(AttachmentSaveName("report.pdf", 0), "report.pdf");
    EXPECT_EQ(AttachmentSaveName("..\\..\\evil.exe", 0), "evil.exe");
    EXPECT_EQ(AttachmentSaveName("", 2), "attachment 3");
    EXPECT_EQ(AttachmentSaveName(".profile", 0), "_.profile");
    EXPECT_EQ(AttachmentSaveName("..", 0), "attachment 1");
    EXPECT_EQ(AttachmentSaveName("a\nb\rc\td\x1b[31m.txt", 0), "a_b_c_d_[31m.txt");
    EXPECT_EQ(AttachmentSaveName("CON", 0), "CON_");
    EXPECT_EQ(AttachmentSaveName("aux.txt", 0), "aux_.txt");
    EXPECT_EQ(AttachmentSaveName("a:b?c*d|e<f>g.txt", 0), "a_b_c_d_e_f_g.txt");
    EXPECT_EQ(AttachmentSaveName("notes. ", 0), "notes__");
    EXPECT_EQ(AttachmentSaveName(std::string(304, 'x'), 0).size(), kMaxComponentBytes);
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
    EXPECT_EQ(test::ReadFile(dir / "store.edb"), "database bytes");

    AtomicFile missing(dir / "gone", nullptr);
    EXPECT_FALSE(missing.Open());
    EXPECT_NE(missing.error().find((dir / "gone").string()), std::string::npos) << missing.error();
    EXPECT_NE(missing.error().find("No such file"), std::string::npos) << missing.error();
}

// Acts as a FAT or exFAT drive while it lives: files without a name, hard links and
// no-replace renames fail with the errors those file systems give.
class WithoutLinksOrNoReplaceRenames {
public:
    WithoutLinksOrNoReplaceRenames() : saved_(ActiveFileNamingCalls()) {
        ActiveFileNamingCalls() = {[](const char*, mode_t) -> int {
                                       errno = EOPNOTSUPP;
                                       return -1;
                                   },
                                   [](const char*, const char*) -> int {
                                       errno = EINVAL;
                                       return -1;
                                   },
                                   [](const char*, const char*) -> int {
                                       errno = EPERM;
                                       return -1;
                                   }};
    }
    ~WithoutLinksOrNoReplaceRenames() { ActiveFileNamingCalls() = saved_; }
    WithoutLinksOrNoReplaceRenames(const WithoutLinksOrNoReplaceRenames&) = delete;
    WithoutLinksOrNoReplaceRenames& operator=(const WithoutLinksOrNoReplaceRenames&) = delete;

private:
    FileNamingCalls saved_;
};

TEST(AtomicFileTest, WithoutLinksOrNoReplaceRenamesFilesAreStillNamedAndNothingIsReplaced) {
    WithoutLinksOrNoReplaceRenames fat;
    test::TempDir dir;
    std::ofstream(dir / "00001.eml") << "old";
    std::ofstream(dir / "00001 (2).eml") << "older";
    std::filesystem::create_symlink(dir / "elsewhere", dir / "00001 (3).eml");
    AtomicFile file(dir.path(), nullptr);
    ASSERT_TRUE(file.Open()) << file.error();
    ASSERT_TRUE(file.Write("new"));
    const auto path = file.Commit("00001.eml");
    ASSERT_TRUE(path) << file.error();
    EXPECT_EQ(path->filename(), "00001 (4).eml");
    EXPECT_EQ(test::ReadFile(*path), "new");
    EXPECT_EQ(test::ReadFile(dir / "00001.eml"), "old");
    EXPECT_EQ(test::ReadFile(dir / "00001 (2).eml"), "older");
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere")) << "a link is never followed";
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"00001 (2).eml", "00001 (3).eml",
                                                               "00001 (4).eml", "00001.eml"}))
        << "no temporary file or placeholder remains";
    {
        AtomicFile dropped(dir.path(), nullptr);
        ASSERT_TRUE(dropped.Open());
        ASSERT_TRUE(dropped.Write("partial"));
    }
    EXPECT_EQ(FileNames(dir.path()).size(), 4u) << "an unfinished file leaves nothing";
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

// Folders whose names differ only in case get apart directories, as a drive that ignores case
// needs them; Windows-refused names are made safe.
TEST_F(ExportLayoutTest, NamesDifferingInCaseAreNumberedAndRefusedCharactersReplaced) {
    store_.AddFolder("Inbox");
    store_.AddFolder("INBOX");
    store_.AddFolder("Re: Budget?");
    store_.AddFolder("con");
    auto& browsed = store_.Browsed();
    MailboxExport exporter(browsed.context(), browsed.tree, store_.out.path(), {});
    std::string error;
    ASSERT_TRUE(exporter.Prepare(error)) << error;
    const std::filesystem::path top = store_.out / ExportTestStore::kTop;
    EXPECT_EQ(exporter.Export(store_.ItemOf("Inbox")).directory, top / "Inbox");
    EXPECT_EQ(exporter.Export(store_.ItemOf("INBOX")).directory, top / "INBOX (2)");
    EXPECT_EQ(exporter.Export(store_.ItemOf("Re: Budget?")).directory, top / "Re_ Budget_");
    EXPECT_EQ(exporter.Export(store_.ItemOf("con")).directory, top / "con_");
}

// A folder that fails before writing a file leaves no empty directory behind.
TEST_F(ExportLayoutTest, AFailedFolderLeavesNoEmptyDirectory) {
    const auto inbox = store_.AddFolder("Inbox");
    store_.builder.AddItem(inbox, Mail("Carol Hughes", "First", April(10, 9, 0)));
    const auto saved = ActiveFileNamingCalls();
    ActiveFileNamingCalls().renameNoReplace = [](const char*, const char*) -> int {
        errno = ENOSPC;
        return -1;
    };
    ActiveFileNamingCalls().openUnnamed = [](const char*, mode_t) -> int {
        errno = EOPNOTSUPP;
        return -1;
    };
    const auto result = store_.Export("Inbox", {});
    ActiveFileNamingCalls() = saved;
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find("No space left on device"), std::string::npos) << result.error;
    EXPECT_FALSE(std::filesystem::exists(store_.out / ExportTestStore::kTop / "Inbox"));
    EXPECT_TRUE(std::filesystem::is_empty(store_.out / ExportTestStore::kTop))
        << "the parent made for it stays: its own folder may still come";
}

// The reason given is the creation's own, not the check's that finds nothing afterwards.
TEST_F(ExportLayoutTest, AnOutputDirectoryThatCannotBeMadeGivesTheFirstReason) {
    store_.AddFolder("Inbox");
    auto& browsed = store_.Browsed();
    MailboxExport exporter(browsed.context(), browsed.tree, "/sys/velmor-export/out", {});
    std::string error;
    EXPECT_FALSE(exporter.Prepare(error));
    EXPECT_EQ(error, "cannot create the directory /sys/velmor-export/out: Operation not permitted");
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

TEST_F(ExportLayoutTest, AFolderIsWrittenWholeWithoutLinksOrNoReplaceRenames) {
    const auto inbox = store_.AddFolder("Inbox");
    for (int i = 0; i < 3; ++i) {
        store_.builder.AddItem(inbox,
                               Mail("Carol Hughes", "Mail " + std::to_string(i), April(10, 9, i)));
    }
    WithoutLinksOrNoReplaceRenames fat;
    ExportOptions options;
    options.formats.mbox = true;
    const auto result = store_.Export("Inbox", options);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(FileNames(result.directory),
              (std::vector<std::string>{"00001.eml", "00002.eml", "00003.eml", "folder.mbox",
                                        "items.csv"}));
    EXPECT_EQ(result.files.size(), 5u);
}

}  // namespace
}  // namespace velmor
