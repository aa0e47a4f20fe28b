#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "browse/browse_worker.h"
#include "browse/folder_classification.h"
#include "browsed_store.h"
#include "edb_writer/file_time.h"
#include "export/mailbox_export.h"
#include "local_time_zone.h"
#include "temp_dir.h"

namespace velmor::test {

// A listed row with the record data behind it, as the listers hand it out.
struct CapturedRow {
    std::vector<std::u16string> cells;
    std::u16string itemId;
    std::u16string subject;
    std::u16string sender;
    std::vector<std::u16string> recipients;
    bool marker = false;
};

class CapturingItemList : public PlainItemList {
public:
    std::vector<CapturedRow> captured;

    void InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                         const ListedItem& item) override {
        PlainItemList::InsertListedRow(row, image, cells, item);
        captured.push_back({cells, item.item ? item.item->itemId : u"", item.subject, item.sender,
                            item.recipients, item.marker});
    }
};

// One mailbox, "Mailbox - Ann Walker", with a top folder that holds the test's folders,
// exported into a fresh directory.
class ExportTestStore {
public:
    static constexpr char kTop[] = "Top of Information Store";

    ExportTestStore() {
        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        key_ = builder.AddMailbox(mailbox);
        top = AddFolder(key_, kTop, "");
    }
    testdb::EntryId AddFolder(const testdb::EntryId& parent, std::string name,
                              std::string containerClass) {
        testdb::Folder folder;
        folder.parent = parent;
        folder.name = std::move(name);
        folder.containerClass = std::move(containerClass);
        return builder.AddFolder(folder);
    }
    testdb::EntryId AddFolder(std::string name, std::string containerClass = "IPF.Note") {
        return AddFolder(top, std::move(name), std::move(containerClass));
    }
    BrowsedStore& Browsed() {
        if (!browsed_) {
            browsed_ = std::make_unique<BrowsedStore>(builder);
        }
        return *browsed_;
    }
    std::u16string PathOf(const std::string& relative) {
        return Browsed().Folder(Utf8ToUtf16(std::string(kTop) + "\\" + relative));
    }
    TreeItem ItemOf(const std::string& relative) { return Browsed().ItemAt(PathOf(relative)); }

    // The rows of a folder's listing with the data behind them.
    std::vector<CapturedRow> Listing(const std::string& relative) {
        BrowseSelection selection{PathOf(relative), kUnclassifiedFolder};
        ClassifyFolder(Browsed().store().folderViews, ItemOf(relative), selection.folderKind);
        CapturingItemList list;
        ListFolder(Browsed().context(), list, selection);
        return list.captured;
    }

    // Exports one folder into out with the formats given.
    FolderExportResult Export(const std::string& relative, ExportOptions options) {
        MailboxExport exporter(Browsed().context(), Browsed().tree, out.path(), std::move(options));
        std::string error;
        EXPECT_TRUE(exporter.Prepare(error)) << error;
        return exporter.Export(ItemOf(relative));
    }

    ScopedTimeZone utc{"UTC0"};
    testdb::StoreBuilder builder;
    testdb::EntryId top{};
    TempDir out;

private:
    testdb::EntryId key_{};
    std::unique_ptr<BrowsedStore> browsed_;
};

inline uint64_t April(int day, int hour, int minute) {
    return testdb::FileTimeFromUtc(2007, 4, day, hour, minute, 0);
}

inline testdb::Item MakeItem(testdb::ItemKind kind, std::string subject, uint64_t time) {
    testdb::Item item;
    item.kind = kind;
    item.subject = std::move(subject);
    item.time = time;
    return item;
}

inline testdb::Item Mail(std::string sender, std::string subject, uint64_t time) {
    testdb::Item item = MakeItem(testdb::ItemKind::Mail, std::move(subject), time);
    item.sender = std::move(sender);
    return item;
}

// The names of the files in a directory, sorted.
inline std::vector<std::string> FileNames(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace velmor::test
