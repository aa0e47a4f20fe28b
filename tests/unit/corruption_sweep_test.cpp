// Stores written by the writer, damaged in every way a broken disk or copy leaves them, each
// run through the seven processing parts and a browse of every folder of every mailbox. Every
// run must finish, and what the damage did not touch must still be found.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <map>
#include <random>
#include <set>

#include "discovery/mailbox_scan.h"
#include "discovery_lists.h"
#include "edb/text_codec.h"
#include "edb_writer/database_header.h"
#include "edb_writer/file_damage.h"
#include "edb_writer/file_time.h"
#include "full_browse.h"
#include "items/folder_table_scan.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::DatabaseImage;
using testdb::EntryId;
using testdb::ItemKind;
using testdb::StoreBuilder;

constexpr uint32_t kSweepSeed = 20261207;
constexpr auto kHangBound = std::chrono::seconds(60);
constexpr int32_t kCatalogObjectId = 2;
constexpr int32_t kCatalogShadowObjectId = 3;
constexpr int kFlipRounds = 40;
constexpr int kFlipsPerRound = 8;
constexpr int kSwapRounds = 30;
constexpr int kOutOfRangeRounds = 20;

StoreBuilder SweptStore() {
    StoreBuilder builder;
    for (const char* owner : {"Ann Walker", "Bob Jones"}) {
        testdb::Folder top;
        top.parent = builder.AddMailbox(testdb::Mailbox{owner});
        top.name = "Top of Information Store";
        const EntryId topId = builder.AddFolder(top);
        const std::pair<const char*, ItemKind> folders[] = {
            {"IPF.Note", ItemKind::Mail},
            {"IPF.Contact", ItemKind::Contact},
            {"IPF.Appointment", ItemKind::Appointment},
            {"IPF.Task", ItemKind::Task},
            {"IPF.StickyNote", ItemKind::StickyNote},
            {"IPF.Journal", ItemKind::Journal}};
        for (const auto& [containerClass, kind] : folders) {
            testdb::Folder folder;
            folder.parent = topId;
            folder.name = std::string(containerClass).substr(4);
            folder.containerClass = containerClass;
            const EntryId id = builder.AddFolder(folder);
            const int count = kind == ItemKind::Mail ? 40 : 4;
            for (int i = 0; i < count; ++i) {
                testdb::Item item;
                item.kind = kind;
                item.time = testdb::FileTimeFromUtc(2024, 3, 1 + i % 28, 10, i % 60, 0);
                item.subject = std::string(owner) + " item " + std::to_string(i);
                item.sender = "Carol Hughes";
                item.recipients = {{"Dan Ray"}, {"Eve Stone"}};
                if (i % 5 == 0) {
                    item.recipientStorage = testdb::RecipientStorage::OutOfLine;
                }
                item.contact.fullName = "Contact " + std::to_string(i);
                builder.AddItem(id, item);
            }
        }
    }
    return builder;
}

// One way of damaging the file, and what it touched.
struct Damage {
    std::string name;
    std::function<void(const std::filesystem::path&)> apply;
    std::set<int32_t> touchedPages;
    bool headerTouched = false;
    bool catalogTouched = false;  // also when a page now claims a catalog object
};

// Where each record of the undamaged store lies, and what a full run over it found.
struct Baseline {
    std::vector<int32_t> objectOfPage;
    std::map<std::u16string, int32_t> mailboxPage;  // by key
    std::map<std::u16string, std::u16string> mailboxName;
    std::map<std::u16string, int32_t> folderPage;  // by folder id
    std::map<std::u16string, std::u16string> folderParent;
    std::map<std::u16string, int32_t> folderTable;  // folder id to its table's object id
    test::BrowseOutcome outcome;
};

// The store with its catalog pages moved to the front of the file (readers find pages by
// their object id, wherever they lie), so that a cut file keeps its catalog.
DatabaseImage CatalogFirst(const DatabaseImage& written) {
    DatabaseImage image;
    image.SetHeader(written.header());
    for (bool catalog : {true, false}) {
        for (int32_t p = 0; p < written.pageCount(); ++p) {
            const int32_t objectId = written.page(p).objectId();
            if ((objectId == kCatalogObjectId || objectId == kCatalogShadowObjectId) == catalog) {
                image.AppendPage(written.page(p));
            }
        }
    }
    return image;
}

test::BrowseOutcome RunGuarded(test::OpenedDatabase& db) {
    auto run =
        std::async(std::launch::async, [&] { return test::ProcessAndBrowseAll(db.context); });
    if (run.wait_for(kHangBound) == std::future_status::timeout) {
        ADD_FAILURE() << "the run did not finish";
        std::abort();  // a hung worker cannot be joined
    }
    return run.get();
}

Baseline ReadBaseline(const DatabaseImage& image) {
    Baseline baseline;
    test::OpenedDatabase db(image);
    baseline.outcome = RunGuarded(db);
    StopFlag stop;
    for (int32_t p = 0; p < image.pageCount(); ++p) {
        const int32_t objectId = image.page(p).objectId();
        baseline.objectOfPage.push_back(objectId);
        const PageView view = test::ViewOf(image.page(p));
        if (objectId == db.store.schema.mailboxTableId) {
            MailboxList mailboxes;
            ScanMailboxPage(view, stop, mailboxes);
            for (const MailboxEntry& mailbox : mailboxes.entries()) {
                baseline.mailboxPage[mailbox.key] = p;
                baseline.mailboxName[mailbox.key] = mailbox.displayName;
            }
        } else if (objectId == db.store.schema.foldersTableId) {
            std::vector<FolderEntry> folders;
            ScanFolderPage(view, db.store.schema.containerClassColumn, folders);
            for (const FolderEntry& folder : folders) {
                baseline.folderPage[folder.folderId] = p;
                baseline.folderParent[folder.folderId] = folder.parentId;
            }
        }
    }
    db.store.folderViews.ForEach([&](const FolderViewNode& node) {
        baseline.folderTable[node.folderId] = node.tableObjectId;
        return true;
    });
    return baseline;
}

class CorruptionSweep {
public:
    CorruptionSweep()
        : image_(CatalogFirst(SweptStore().Build())), baseline_(ReadBaseline(image_)) {}

    int32_t pageCount() const { return image_.pageCount(); }
    uint64_t fileSize() const { return image_.Bytes().size(); }
    std::set<int32_t> objectIds() const {
        return {baseline_.objectOfPage.begin(), baseline_.objectOfPage.end()};
    }
    const Baseline& baseline() const { return baseline_; }

    void Run(const Damage& damage) {
        SCOPED_TRACE(damage.name);
        test::OpenedDatabase db(image_);
        damage.apply(db.path());
        db.Open();
        const test::BrowseOutcome outcome = RunGuarded(db);
        // The records gathered in the full-file pass give the index a second read would.
        EXPECT_EQ(test::IndexContents(db.store.messageIndex), test::IndexOfRun(db.file, false));
        // A pass on several threads leaves every list as one thread does.
        EXPECT_EQ(test::DiscoveryLists(db.file, 4), test::DiscoveryLists(db.file, 1));
        Damage judged = damage;
        judged.catalogTouched |= ObjectTouched(damage, kCatalogObjectId) ||
                                 ObjectTouched(damage, kCatalogShadowObjectId);
        if (!damage.headerTouched) {
            ExpectUntouchedRecordsFound(judged, db.store, outcome);
        }
        ++runs_;
    }

    int runs() const { return runs_; }
    // How many mailboxes, folders and folder listings were checked to have survived.
    int survivorsChecked() const { return survivorsChecked_; }

private:
    bool Touched(const Damage& damage, int32_t page) const {
        return damage.touchedPages.contains(page);
    }
    bool ObjectTouched(const Damage& damage, int32_t objectId) const {
        for (int32_t page : damage.touchedPages) {
            if (page >= 0 && page < pageCount() && baseline_.objectOfPage[page] == objectId) {
                return true;
            }
        }
        return false;
    }
    // The folder's record and those of its ancestors and mailbox lie on untouched pages.
    bool PathUntouched(const Damage& damage, std::u16string folderId) const {
        for (int depth = 0; depth < 64; ++depth) {
            if (const auto mailbox = baseline_.mailboxPage.find(folderId);
                mailbox != baseline_.mailboxPage.end()) {
                return !Touched(damage, mailbox->second);
            }
            const auto page = baseline_.folderPage.find(folderId);
            if (page == baseline_.folderPage.end() || Touched(damage, page->second)) {
                return false;
            }
            folderId = baseline_.folderParent.at(folderId);
        }
        return false;
    }

    void ExpectUntouchedRecordsFound(const Damage& damage, const RecoveredStore& store,
                                     const test::BrowseOutcome& outcome) const {
        // Without either catalog tree, or without any mailbox, a run finds nothing by design.
        if (damage.catalogTouched) {
            return;
        }
        for (const auto& [key, page] : baseline_.mailboxPage) {
            if (!Touched(damage, page)) {
                ++survivorsChecked_;
                EXPECT_TRUE(store.mailboxes.ContainsKey(key))
                    << "mailbox " << Utf16ToUtf8(baseline_.mailboxName.at(key)) << " on page "
                    << page;
            }
        }
        if (!outcome.found) {
            return;
        }
        for (const auto& [id, page] : baseline_.folderPage) {
            if (!Touched(damage, page)) {
                ++survivorsChecked_;
                EXPECT_TRUE(std::any_of(store.folders.begin(), store.folders.end(),
                                        [&](const FolderEntry& f) { return f.folderId == id; }))
                    << "folder " << Utf16ToUtf8(id) << " on page " << page;
            }
        }
        if (ObjectTouched(damage, store.schema.msgTableObjectId) ||
            ObjectTouched(damage, store.schema.msgLongValueId)) {
            return;
        }
        for (const auto& [id, rows] : baseline_.outcome.rowsByFolderId) {
            const auto table = baseline_.folderTable.find(id);
            if (rows == 0 || table == baseline_.folderTable.end() ||
                ObjectTouched(damage, table->second) || !PathUntouched(damage, id)) {
                continue;
            }
            ++survivorsChecked_;
            const auto found = outcome.rowsByFolderId.find(id);
            EXPECT_GE(found == outcome.rowsByFolderId.end() ? 0 : found->second, rows)
                << "items of folder " << Utf16ToUtf8(id);
        }
    }

    DatabaseImage image_;
    Baseline baseline_;
    int runs_ = 0;
    mutable int survivorsChecked_ = 0;
};

std::function<void(const std::filesystem::path&)> Overwrite(uint64_t offset,
                                                            std::vector<uint8_t> bytes) {
    return [offset, bytes](const std::filesystem::path& path) {
        testdb::OverwriteFileBytes(path, offset, bytes);
    };
}

std::vector<uint8_t> Int32Bytes(int32_t value) {
    std::vector<uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

Damage ClaimObject(int32_t page, int32_t objectId) {
    Damage damage{"page " + std::to_string(page) + " claims object " + std::to_string(objectId),
                  Overwrite(PageOffset(page) + kObjectIdOffset, Int32Bytes(objectId)),
                  {page}};
    damage.catalogTouched = objectId == kCatalogObjectId || objectId == kCatalogShadowObjectId;
    return damage;
}

// The undamaged store first: the sweep's expectations rest on what it finds.
TEST(CorruptionSweepTest, TheUndamagedStoreIsFoundWhole) {
    CorruptionSweep sweep;
    const test::BrowseOutcome& outcome = sweep.baseline().outcome;
    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(outcome.mailboxes, 2u);
    EXPECT_EQ(outcome.folders, 14u);
    EXPECT_EQ(outcome.rows, 2u * (40 + 5 * 4));
    EXPECT_EQ(sweep.baseline().mailboxPage.size(), 2u);
    EXPECT_EQ(sweep.baseline().folderPage.size(), 14u);
}

TEST(CorruptionSweepTest, TruncationAtAndAroundEveryPageAndChunkBoundary) {
    CorruptionSweep sweep;
    for (uint64_t boundary = 0; boundary <= sweep.fileSize(); boundary += PAGE_SIZE) {
        for (int64_t delta : {-1, 0, 1}) {
            const int64_t size = static_cast<int64_t>(boundary) + delta;
            if (size < 0) {
                continue;
            }
            Damage damage{"cut at " + std::to_string(size),
                          [size](const std::filesystem::path& path) {
                              testdb::TruncateFile(path, static_cast<uint64_t>(size));
                          },
                          {}};
            damage.headerTouched = size < PAGE_SIZE;
            for (int32_t page = 0; page < sweep.pageCount(); ++page) {
                if (PageOffset(page) + PAGE_SIZE > size) {
                    damage.touchedPages.insert(page);
                }
            }
            sweep.Run(damage);
        }
    }
    EXPECT_GT(sweep.runs(), 3 * static_cast<int>(sweep.fileSize() / kChunkSize));
    // Early cuts take the mailbox table with them; most cuts leave something to check.
    EXPECT_GT(sweep.survivorsChecked(), sweep.runs() / 2);
}

TEST(CorruptionSweepTest, ZeroedPagesAndPagesClaimingOtherObjects) {
    CorruptionSweep sweep;
    std::mt19937 random(kSweepSeed);
    const std::set<int32_t> ids = sweep.objectIds();
    const std::vector<int32_t> usedIds(ids.begin(), ids.end());
    const std::vector<int32_t> outOfRange = {INT32_MAX, INT32_MIN, -1, 0, 65536, 1001};
    for (int32_t page = 0; page < sweep.pageCount(); ++page) {
        Damage zeroed{"page " + std::to_string(page) + " zeroed",
                      Overwrite(PageOffset(page), std::vector<uint8_t>(PAGE_SIZE)),
                      {page}};
        sweep.Run(zeroed);
        sweep.Run(ClaimObject(page, usedIds[random() % usedIds.size()]));
    }
    for (int round = 0; round < kOutOfRangeRounds; ++round) {
        const auto page = static_cast<int32_t>(random() % sweep.pageCount());
        sweep.Run(ClaimObject(page, outOfRange[random() % outOfRange.size()]));
    }
    EXPECT_GT(sweep.survivorsChecked(), sweep.runs());
}

TEST(CorruptionSweepTest, FlippedBytesAndSwappedPages) {
    CorruptionSweep sweep;
    std::mt19937 random(kSweepSeed);
    for (int round = 0; round < kFlipRounds; ++round) {
        std::vector<std::pair<uint64_t, uint8_t>> flips;
        Damage damage{"flips, round " + std::to_string(round), {}, {}};
        for (int f = 0; f < kFlipsPerRound; ++f) {
            const uint64_t offset = random() % sweep.fileSize();
            flips.emplace_back(offset, static_cast<uint8_t>(1u << (random() % 8)));
            const auto page = static_cast<int32_t>(offset / PAGE_SIZE) - 1;
            damage.headerTouched |= page < 0;
            damage.touchedPages.insert(page);
        }
        damage.apply = [flips](const std::filesystem::path& path) {
            for (const auto& [offset, bit] : flips) {
                EdbFile file;
                file.OpenDatabase(path);
                std::array<uint8_t, 1> byte{};
                file.ReadAt(static_cast<int64_t>(offset), byte);
                byte[0] ^= bit;
                testdb::OverwriteFileBytes(path, offset, byte);
            }
        };
        sweep.Run(damage);
    }
    const std::vector<uint8_t> bytes = CatalogFirst(SweptStore().Build()).Bytes();
    for (int round = 0; round < kSwapRounds; ++round) {
        const auto a = static_cast<int32_t>(random() % sweep.pageCount());
        const auto b = static_cast<int32_t>(random() % sweep.pageCount());
        auto pageBytes = [&](int32_t page) {
            const auto start = bytes.begin() + PageOffset(page);
            return std::vector<uint8_t>(start, start + PAGE_SIZE);
        };
        Damage damage{
            "pages " + std::to_string(a) + " and " + std::to_string(b) + " swapped",
            [a, b, first = pageBytes(a), second = pageBytes(b)](const std::filesystem::path& path) {
                testdb::OverwriteFileBytes(path, PageOffset(a), second);
                testdb::OverwriteFileBytes(path, PageOffset(b), first);
            },
            {a, b}};
        sweep.Run(damage);
    }
    EXPECT_GT(sweep.survivorsChecked(), sweep.runs());
}

TEST(CorruptionSweepTest, HeaderWithAHugeOrNegativeHighestObjectId) {
    CorruptionSweep sweep;
    for (int32_t bound : {INT32_MAX, INT32_MIN, -1, 0, 1, 4, 65536}) {
        Damage damage{"highest object id " + std::to_string(bound),
                      Overwrite(testdb::kHighestObjectIdOffset, Int32Bytes(bound)),
                      {}};
        damage.headerTouched = true;
        sweep.Run(damage);
    }
}

// Real ESE files, damaged the same ways: with no store tables in them, each run must end in
// "No User Found" without a fault.
TEST(CorruptionSweepTest, RealEseFilesDamagedEveryWay) {
    const std::filesystem::path realData = VELMOR_REALDATA_DIR;
    if (!std::filesystem::exists(realData / "basic.edb")) {
        GTEST_SKIP() << "no real databases beside the repository";
    }
    std::mt19937 random(kSweepSeed);
    int runs = 0;
    for (const char* name : {"basic.edb", "index.edb", "SRUDB.dat", "Current.mdb", "large.edb"}) {
        const std::filesystem::path original = realData / name;
        const uint64_t size = std::filesystem::file_size(original);
        const auto pages = static_cast<int32_t>(size / PAGE_SIZE) - 1;
        std::vector<std::function<void(const std::filesystem::path&)>> damages;
        for (uint64_t cut : {uint64_t{0}, uint64_t{PAGE_SIZE}, uint64_t{kChunkSize}, size / 2}) {
            for (int64_t delta : {-1, 0, 1}) {
                if (static_cast<int64_t>(cut) + delta >= 0) {
                    damages.push_back([at = cut + delta](const std::filesystem::path& path) {
                        testdb::TruncateFile(path, at);
                    });
                }
            }
        }
        for (int32_t objectId : {kCatalogObjectId, kCatalogShadowObjectId, 8, 19, 21, INT32_MAX}) {
            const auto page = static_cast<int32_t>(random() % pages);
            damages.push_back(Overwrite(PageOffset(page) + kObjectIdOffset, Int32Bytes(objectId)));
            damages.push_back(Overwrite(PageOffset(page), std::vector<uint8_t>(PAGE_SIZE)));
        }
        for (int32_t bound : {INT32_MAX, INT32_MIN, 0}) {
            damages.push_back(Overwrite(testdb::kHighestObjectIdOffset, Int32Bytes(bound)));
        }
        for (const auto& damage : damages) {
            test::TempDir dir;
            const std::filesystem::path copy = dir / "real.edb";
            std::filesystem::copy_file(original, copy);
            std::filesystem::permissions(copy, std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
            damage(copy);
            test::OpenedDatabase db{DatabaseImage{}};
            db.file.OpenDatabase(copy);
            const test::BrowseOutcome outcome = RunGuarded(db);
            EXPECT_FALSE(outcome.found) << name;
            ++runs;
        }
    }
    EXPECT_GT(runs, 100);
}

}  // namespace
}  // namespace velmor
