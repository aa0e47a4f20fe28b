#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <vector>

#include "edb/edb_file.h"
#include "edb/path_validation.h"
#include "edb/text_codec.h"
#include "temp_dir.h"

namespace velmor {
namespace {

// A file of the given number of 4096-byte pages; every byte of page slot s holds s + 1.
void WritePages(const std::filesystem::path& path, int slots, int extraBytes = 0) {
    std::ofstream out(path, std::ios::binary);
    for (int s = 0; s < slots; ++s) {
        out << std::string(PAGE_SIZE, static_cast<char>(s + 1));
    }
    out << std::string(extraBytes, 'x');
}

TEST(EdbFileTest, PageNumbersMapOntoFileOffsetsAndPartialPagesAreNotRead) {
    test::TempDir dir;
    WritePages(dir / "a.edb", 3, 100);
    EdbFile file;
    ASSERT_EQ(file.OpenDatabase(dir / "a.edb"), 0);
    EXPECT_EQ(file.fileSize(), 3u * PAGE_SIZE + 100);

    PageBuffer page{};
    ASSERT_TRUE(file.ReadPage(-1, page));
    EXPECT_EQ(page[0], 1) << "page -1 is the database header at offset 0";
    ASSERT_TRUE(file.ReadPage(1, page));
    EXPECT_EQ(page[4095], 3);
    EXPECT_FALSE(file.ReadPage(2, page)) << "only 100 bytes of that page exist";
    EXPECT_FALSE(file.ReadPage(-2, page));
    EXPECT_FALSE(file.ReadPage(INT32_MAX, page));

    std::vector<uint8_t> chunk(kChunkSize);
    EXPECT_EQ(file.ReadChunk(0, chunk), 3 * PAGE_SIZE + 100);
    EXPECT_EQ(file.ReadChunk(1, chunk), 0);

    file.CloseDatabase();
    EXPECT_EQ(file.fileSize(), 0u);
    EXPECT_FALSE(file.ReadPage(-1, page));
}

TEST(EdbFileTest, ReadOnlyFilesOpenAndTheCompanionStreamingFileIsHeldWhenPresent) {
    test::TempDir dir;
    WritePages(dir / "priv1.edb", 2);
    ::chmod((dir / "priv1.edb").c_str(), 0444);
    EdbFile file;
    ASSERT_EQ(file.OpenDatabase(dir / "priv1.edb"), 0);
    EXPECT_FALSE(file.hasStreamingFile());

    WritePages(dir / "priv1.stm", 1);
    ASSERT_EQ(file.OpenDatabase(dir / "priv1.edb"), 0);
    EXPECT_TRUE(file.hasStreamingFile());
    EXPECT_EQ(file.streamingFileSize(), static_cast<uint64_t>(PAGE_SIZE));

    EXPECT_EQ(file.OpenDatabase(dir / "missing.edb"), 1);
    EXPECT_FALSE(file.isOpen());
}

TEST(EdbFileTest, TheOpenFilesAreRecognisedUnderAnyName) {
    test::TempDir dir;
    WritePages(dir / "priv1.edb", 1);
    WritePages(dir / "priv1.stm", 1);
    WritePages(dir / "other.edb", 1);
    std::filesystem::create_symlink(dir / "priv1.edb", dir / "link.edb");
    std::filesystem::create_hard_link(dir / "priv1.stm", dir / "copy-of-stm");
    EdbFile file;
    EXPECT_FALSE(file.HoldsFile(dir / "priv1.edb")) << "nothing is open yet";
    ASSERT_EQ(file.OpenDatabase(dir / "priv1.edb"), 0);

    EXPECT_TRUE(file.HoldsFile(dir / "priv1.edb"));
    EXPECT_TRUE(file.HoldsFile(dir / "link.edb"));
    EXPECT_TRUE(file.HoldsFile(dir / "." / "priv1.edb"));
    EXPECT_TRUE(file.HoldsFile(dir / "copy-of-stm"));
    EXPECT_FALSE(file.HoldsFile(dir / "other.edb"));
    EXPECT_FALSE(file.HoldsFile(dir / "missing.csv"));

    file.CloseDatabase();
    EXPECT_FALSE(file.HoldsFile(dir / "priv1.edb"));
}

class RecordingValidationPort : public PathValidationPort {
public:
    int chooserOpened = 0;
    std::vector<std::pair<std::u16string, bool>> errors;

    void OpenFileChooser() override { ++chooserOpened; }
    void ShowPathError(const std::u16string& message, bool owned) override {
        errors.emplace_back(message, owned);
    }
};

TEST(ValidateDatabasePathTest, EachRejectionHasItsMessageAndTheNameTestIsASubstringTest) {
    test::TempDir dir;
    WritePages(dir / "store.txt", 1);
    WritePages(dir / "lower.edb", 1);
    WritePages(dir / "backup.edbak", 1);
    EdbFile file;
    RecordingValidationPort port;

    EXPECT_FALSE(ValidateDatabasePath(file, u"", port));
    EXPECT_EQ(port.chooserOpened, 1);
    EXPECT_TRUE(port.errors.empty());

    EXPECT_FALSE(ValidateDatabasePath(file, Utf8ToUtf16((dir / "none.edb").string()), port));
    EXPECT_FALSE(ValidateDatabasePath(file, Utf8ToUtf16(dir.path().string()), port))
        << "a directory is not a database file";
    EXPECT_FALSE(ValidateDatabasePath(file, Utf8ToUtf16((dir / "store.txt").string()), port));
    ASSERT_EQ(port.errors.size(), 3u);
    EXPECT_EQ(port.errors[0], std::make_pair(std::u16string(kFileDoesNotExist), true));
    EXPECT_EQ(port.errors[1], std::make_pair(std::u16string(kFileDoesNotExist), true));
    EXPECT_EQ(port.errors[2], std::make_pair(std::u16string(kNotAnEdbFile), false));

    EXPECT_TRUE(ValidateDatabasePath(file, Utf8ToUtf16((dir / "lower.edb").string()), port));
    EXPECT_TRUE(ValidateDatabasePath(file, Utf8ToUtf16((dir / "backup.edbak").string()), port));
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(port.errors.size(), 3u);
}

TEST(ValidateDatabasePathTest, AnUnreadableFileCouldNotBeOpened) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    test::TempDir dir;
    WritePages(dir / "locked.edb", 1);
    ::chmod((dir / "locked.edb").c_str(), 0);
    EdbFile file;
    RecordingValidationPort port;
    EXPECT_FALSE(ValidateDatabasePath(file, Utf8ToUtf16((dir / "locked.edb").string()), port));
    ASSERT_EQ(port.errors.size(), 1u);
    EXPECT_EQ(port.errors[0].first, kFileCouldNotBeOpened);
}

}  // namespace
}  // namespace velmor
