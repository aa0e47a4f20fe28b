#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edb/long_value_assembly.h"
#include "edb/long_value_index.h"
#include "edb/long_value_reference.h"
#include "edb_writer/database_image.h"
#include "edb_writer/long_value_tree.h"
#include "edb_writer/tree_page.h"

namespace velmor {
namespace {

using testdb::TreeNode;

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Text(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> Key(uint32_t id) {
    return {static_cast<uint8_t>(id >> 24), static_cast<uint8_t>(id >> 16),
            static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)};
}

std::vector<uint8_t> Key(uint32_t id, uint32_t offset) {
    std::vector<uint8_t> key = Key(id);
    const std::vector<uint8_t> second = Key(offset);
    key.insert(key.end(), second.begin(), second.end());
    return key;
}

TreeNode Root(uint32_t id, uint32_t size) {
    return TreeNode{
        Key(id), {1, 0, 0, 0, static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8), 0, 0}};
}

TreeNode Chunk(uint32_t id, uint32_t offset, const std::string& data) {
    return TreeNode{Key(id, offset), Bytes(data)};
}

// Pages held in memory, laid out one after another as in a file.
class PageFile {
public:
    void Add(const std::vector<uint8_t>& page) {
        const auto offset = static_cast<int64_t>(bytes_.size());
        bytes_.insert(bytes_.end(), page.begin(), page.end());
        pages_.push_back({offset, page.size()});
    }
    LongValueIndex Index(const DatabaseFormat& format) const {
        LongValueIndex index;
        for (const auto& [offset, size] : pages_) {
            index.AddPage(PageView(bytes_.data() + offset, static_cast<int64_t>(size)), offset,
                          format);
        }
        return index;
    }
    std::optional<LongValue> Read(const LongValueIndex& index, uint32_t id) const {
        return AssembleLongValue(index, id, [this](int64_t offset, std::span<uint8_t> out) {
            const PageView view(bytes_.data(), static_cast<int64_t>(bytes_.size()));
            const auto bytes = view.bytes(offset, static_cast<int64_t>(out.size()));
            std::copy(bytes.begin(), bytes.end(), out.begin());
            return bytes.size() == out.size();
        });
    }

private:
    std::vector<uint8_t> bytes_;
    std::vector<std::pair<int64_t, size_t>> pages_;
};

constexpr DatabaseFormat kSmallPages{0x14, 4096};
constexpr DatabaseFormat kLargePages{0x14, 16384};

TEST(LongValueIndexTest, ChunksAreReassembledByOffsetInBothTagFlagLayouts) {
    for (const DatabaseFormat& format : {kSmallPages, kLargePages}) {
        testdb::TreePageLayout layout;
        layout.pageSize = format.pageSize;
        layout.tagFlagsInNode = format.tagFlagsInNode();
        const std::vector<uint8_t> prefix = Key(7, 0);
        // Tags in key order; the writer lays their data out in reverse.
        const std::vector<TreeNode> first = {Root(7, 12), Chunk(7, 0, "Hello "),
                                             Chunk(7, 6, "world!")};
        PageFile file;
        file.Add(testdb::ComposeTreePage(9, layout, prefix, first));
        const LongValueIndex index = file.Index(format);
        const auto value = file.Read(index, 7);
        ASSERT_TRUE(value) << format.pageSize;
        EXPECT_EQ(Text(value->bytes), "Hello world!");
        EXPECT_EQ(value->missingBytes, 0u);
        EXPECT_TRUE(value->hasRoot);
        EXPECT_FALSE(file.Read(index, 8));
    }
}

TEST(LongValueIndexTest, StaleCopiesOnParentPagesAndDeletedNodesAreNotRead) {
    testdb::TreePageLayout leaf;
    testdb::TreePageLayout parent;
    parent.pageFlags = testdb::kTreePageParent | testdb::kTreePageLongValue;
    parent.databaseTime = 99;  // newer than the leaf, and still stale
    TreeNode deleted = Chunk(3, 0, "deleted!");
    deleted.defunct = true;
    PageFile file;
    file.Add(testdb::ComposeTreePage(9, parent, {}, std::vector{Chunk(3, 0, "STALE!!!")}));
    file.Add(testdb::ComposeTreePage(9, leaf, Key(3, 0),
                                     std::vector{deleted, Root(3, 8), Chunk(3, 0, "current!")}));
    const auto value = file.Read(file.Index(kSmallPages), 3);
    ASSERT_TRUE(value);
    EXPECT_EQ(Text(value->bytes), "current!");
}

TEST(LongValueIndexTest, MissingChunksAreCountedAndTheNewerCopyOfAChunkWins) {
    testdb::TreePageLayout older;
    testdb::TreePageLayout newer;
    newer.databaseTime = 5;
    PageFile file;
    file.Add(testdb::ComposeTreePage(9, older, Key(1, 0),
                                     std::vector{Root(1, 30), Chunk(1, 0, "old-ten-by")}));
    file.Add(testdb::ComposeTreePage(
        9, newer, Key(1, 0), std::vector{Chunk(1, 0, "0123456789"), Chunk(1, 20, "abcdefghij")}));
    const auto value = file.Read(file.Index(kSmallPages), 1);
    ASSERT_TRUE(value);
    EXPECT_EQ(Text(value->bytes), "0123456789abcdefghij");
    EXPECT_EQ(value->missingBytes, 10u);
    ASSERT_EQ(value->gaps.size(), 1u);
    EXPECT_EQ(value->gaps[0].at, 10u);
    EXPECT_EQ(value->gaps[0].length, 10u);

    // A value whose end is lost has its gap after the last byte read.
    file.Add(testdb::ComposeTreePage(9, older, Key(4, 0),
                                     std::vector{Root(4, 25), Chunk(4, 0, "0123456789")}));
    const auto cut = file.Read(file.Index(kSmallPages), 4);
    ASSERT_TRUE(cut);
    ASSERT_EQ(cut->gaps.size(), 1u);
    EXPECT_EQ(cut->gaps[0].at, 10u);
    EXPECT_EQ(cut->gaps[0].length, 15u);
}

TEST(LongValueIndexTest, DeclaredSizeAboveTheCapIsCut) {
    PageFile file;
    file.Add(
        testdb::ComposeTreePage(9, {}, Key(2, 0), std::vector{Root(2, 0), Chunk(2, 0, "abc")}));
    std::vector<uint8_t> page = testdb::ComposeTreePage(
        9, {}, Key(4, 0), std::vector{TreeNode{Key(4), {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}}});
    file.Add(page);
    const LongValueIndex index = file.Index(kSmallPages);
    const auto huge = file.Read(index, 4);
    ASSERT_TRUE(huge);
    EXPECT_TRUE(huge->capped);
    EXPECT_EQ(huge->missingBytes, kLongValueSizeCap);
    // A root that says 0 bytes ends the value before its chunk.
    EXPECT_TRUE(file.Read(index, 2)->bytes.empty());
}

TEST(LongValueIndexTest, TreeWriterSpreadsValuesOverPagesWithSeveralChunks) {
    testdb::DatabaseImage image;
    testdb::LongValueTreeWriter writer(image, 9, 100);
    std::vector<std::string> values;
    std::vector<uint32_t> ids;
    for (int i = 0; i < 12; ++i) {
        values.push_back(std::string(700 + 37 * i, static_cast<char>('a' + i)) + "|end");
        ids.push_back(writer.Add(Bytes(values.back())));
    }
    writer.Finish();
    ASSERT_GT(writer.pageNumbers().size(), 3u);
    LongValueIndex index;
    const std::vector<uint8_t> bytes = image.Bytes();
    for (int32_t page : writer.pageNumbers()) {
        const int64_t offset = (int64_t{page} + 1) * 4096;
        index.AddPage(PageView(bytes.data() + offset, 4096), offset, kSmallPages);
    }
    for (size_t i = 0; i < values.size(); ++i) {
        const auto value =
            AssembleLongValue(index, ids[i], [&bytes](int64_t offset, std::span<uint8_t> out) {
                std::copy(bytes.begin() + offset, bytes.begin() + offset + out.size(), out.begin());
                return true;
            });
        ASSERT_TRUE(value) << i;
        EXPECT_EQ(Text(value->bytes), values[i]) << i;
    }
}

TEST(LongValueIndexTest, GarbagePagesAddNothingAndNeverReadOutside) {
    std::vector<uint8_t> page(4096);
    for (size_t i = 0; i < page.size(); ++i) {
        page[i] = static_cast<uint8_t>(i * 131 + 7);
    }
    page[36] = 0x82;  // a long-value leaf page
    for (const DatabaseFormat& format : {kSmallPages, kLargePages}) {
        LongValueIndex index;
        index.AddPage(PageView(page.data(), static_cast<int64_t>(page.size())), 0, format);
        EXPECT_LE(index.size(), 1000u);
    }
}

TEST(LongValueReferenceTest, SingleAndMultiValuedReferencesGiveTheirIds) {
    const std::vector<uint8_t> single = {0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(LongValueIds(0x05, single), std::vector<uint32_t>{1});
    EXPECT_TRUE(LongValueIds(0x01, single).empty());
    EXPECT_TRUE(LongValueIds(0x05, std::vector<uint8_t>{1, 0, 0}).empty());

    // A multi-valued long text column of multi.edb (flag 0x09): three offsets with the
    // separated bit, then the ids 7, 8 and 9.
    const std::vector<uint8_t> multi = {0x06, 0x80, 0x0A, 0x80, 0x0E, 0x80, 0x07, 0x00, 0x00,
                                        0x00, 0x08, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00};
    EXPECT_EQ(LongValueIds(0x09, multi), (std::vector<uint32_t>{7, 8, 9}));
    // Values stored in line (no separated bit) are not references.
    const std::vector<uint8_t> inLine = {0x04, 0x00, 0x06, 0x00, 'a', 'b', 'c', 'd'};
    EXPECT_TRUE(LongValueIds(0x09, inLine).empty());
    // An offset list that runs past the value ends where the value does.
    EXPECT_TRUE(LongValueIds(0x09, std::vector<uint8_t>{0xFF, 0xFF, 0x02}).empty());
}

}  // namespace
}  // namespace velmor
